#pragma once
// The sound component's error and trace texts. Errors about a file are
// followed by the file name, errors about a sound by its name.
namespace MorvaneSoundSystem::SoundTexts {

// TMorvaneSound.
inline constexpr char kNotInitialized[] = "まだ初期化されてません。";
inline constexpr char kCreateDeviceFailed[] = "COMオブジェクトの作成に失敗しました。";
inline constexpr char kOpenDeviceFailed[] = "DirectSoundの初期化に失敗しました。";
inline constexpr char kCooperativeLevelFailed[] = "協調レベルの設定に失敗しました。";
inline constexpr char kPrimaryBufferFailed[] = "プライマリバッファの作成に失敗しました。";
inline constexpr char kPrimaryFormatFailed[] = "ウェブフォーマットの設定に失敗しました。";
inline constexpr char kMasterVolumeFailed[] = "マスターボリュームの設定に失敗しました。";
inline constexpr char kNoSuchBuffer[] = "バッファが存在しません。\nバッファ名：";
inline constexpr char kBufferNotLoaded[] = "バッファが初期化されていません。。\nバッファ名：";
inline constexpr char kStopBeforePlayFailed[] = "バッファの再生停止に失敗しました。\nバッファ名：";
inline constexpr char kSeekFailed[] = "バッファのシークに失敗しました。\nバッファ名：";
inline constexpr char kPlayFailed[] = "バッファの再生に失敗しました。\nバッファ名：";
inline constexpr char kThreadFailed[] = "スレッドの作成に失敗しました。\nバッファ名：";
// NOTE: the doubled phrase is the message as the component has always shown it.
inline constexpr char kStreamPlayFailed[] = "バッファの再生に失敗しました。失敗しました。\nバッファ名：";
inline constexpr char kStopFailed[] = "バッファ停止に失敗しました。\nバッファ名：";
inline constexpr char kPanFailed[] = "パンの設定に失敗しました。\nバッファ名：";
inline constexpr char kVolumeFailed[] = "音量の設定に失敗しました。\nバッファ名：";
inline constexpr char kFrequencyFailed[] = "周波数の設定に失敗しました。\nバッファ名：";

// TMorvaneSoundBuffer.
inline constexpr char kOpenFailed[] = "WAVEの読み込みに失敗しました。\nファイル名：";
inline constexpr char kNotRiff[] = "RIFFフォーマットではありません。\nファイル名：";
inline constexpr char kNotWave[] = "WAVEフォーマットではありません。\nファイル名：";
inline constexpr char kBadFormat[] = "ファイルフォーマットが不正です。\nファイル名：";
inline constexpr char kCreateBufferFailed[] = "バッファの作成に失敗しました。\nファイル名：";
inline constexpr char kLockFailed[] = "バッファのロックに失敗しました。\nファイル名：";
inline constexpr char kDuplicateFailed[] = "バッファの複製に失敗しました。\nファイル名：";
inline constexpr char kNotifyInterfaceFailed[] = "通知オブジェクトの作成に失敗しました。\nファイル名：";
inline constexpr char kNotifyRegisterFailed[] = "通知オブジェクトの作成に失敗しました。\nバッファ名：";

// Trace lines.
inline constexpr char kTraceInit[] = "TMorvaneSound::初期化開始";
inline constexpr char kTraceDeviceCreated[] = "TMorvaneSound::COMオブジェクトの生成に成功";
inline constexpr char kTraceDeviceOpened[] = "TMorvaneSound::DirectSoundの初期化に成功";
inline constexpr char kTracePrimaryBuffer[] = "TMorvaneSound::プライマリバッファの作成に成功";
inline constexpr char kTracePrimaryFormat[] = "TMorvaneSound::ウェブフォーマットの設定に成功";
inline constexpr char kTraceCleanUp[] = "TMorvaneSound::クリーンアップ";
inline constexpr char kTraceCreateBuffer[] = "TMorvaneSound::バッファ作成";
inline constexpr char kTraceDeleteBuffer[] = "TMorvaneSound::バッファ削除";
inline constexpr char kTraceDeleteAllBuffer[] = "TMorvaneSound::全バッファの削除";

// The resource type the loader looks for before the file.
inline constexpr char kResourceType[] = "WAVE";

}  // namespace MorvaneSoundSystem::SoundTexts
