#pragma once
// The MIDI component's error and trace texts, and the names it matches in
// the music.
namespace MorvaneMidiSystem::MidiTexts {

// Errors; those about a file are followed by the file name.
inline constexpr char kLoadFailed[] = "MIDIの読み込みに失敗しました。\nファイル名：";
inline constexpr char kBadFileHeader[] = "ファイルヘッダが不正です。\nファイル名：";
inline constexpr char kNotFormat0Or1[] = "SMFFormat0またはSMFFormat1ではありません。\nファイル名：";
inline constexpr char kBadTrackHeader[] = "トラックヘッダが不正です。\nファイル名：";
inline constexpr char kBadFileData[] = "ファイルデータが不正です。\nファイル名：";
inline constexpr char kNotInitialized[] = "まだ初期化されてません。";
// Followed by the piece's name.
inline constexpr char kNoSuchData[] = "データが存在しません。\nデータ名：";
inline constexpr char kReportIsOff[] = "Reportプロパティは、falseになっています。";

// Trace lines.
inline constexpr char kTraceInit[] = "TMorvaneMidi::初期化開始";
inline constexpr char kTraceCleanUp[] = "TMorvaneMidi::クリーンアップ";
inline constexpr char kTraceCreateData[] = "TMorvaneMidi::データ作成";
inline constexpr char kTraceDeleteData[] = "TMorvaneMidi::データ削除";
inline constexpr char kTraceDeleteAllData[] = "TMorvaneMidi::全データの削除";

// The resource type the loader looks for before the file.
inline constexpr char kResourceType[] = "MIDI";

// Loop marks: marker texts and cue-point texts, compared exactly.
inline constexpr char kMarkerLoopStart[] = "RepeatStart";
inline constexpr char kMarkerLoopEnd[] = "RepeatEnd";
inline constexpr char kCueLoopStart[] = "repeat";
inline constexpr char kCueLoopEnd[] = "end";

}  // namespace MorvaneMidiSystem::MidiTexts
