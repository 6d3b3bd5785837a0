#pragma once
// Error texts and trace lines of the 2D component, exactly as the library
// writes them (the sprite lock message keeps its historical wording).
namespace MorvaneDrawSystem::DrawTexts {

// Errors of the component.
inline constexpr char kNotInitialized[] = "まだ初期化されてません。";
inline constexpr char kComObject[] = "COMオブジェクトの作成に失敗しました。";
inline constexpr char kDirectDrawInit[] = "DirectDrawの初期化に失敗しました。";
inline constexpr char kCooperativeLevel[] = "協調レベルの設定に失敗しました。";
inline constexpr char kDisplayMode[] = "画面の変更に失敗しました。";
inline constexpr char kPrimary[] = "プライマリサーフェイスの作成に失敗しました。";
inline constexpr char kClipper[] = "クリッパーの作成に失敗しました。";
inline constexpr char kFlip[] = "フリップサーフェイスの作成に失敗しました。";
inline constexpr char kBack[] = "バックサーフェイスの作成に失敗しました。";
inline constexpr char kTemporary[] = "テンポラリサーフェイスの作成に失敗しました。";
inline constexpr char kPixelMode[] = "ピクセルモードのチェックに失敗しました。";
inline constexpr char kUpdate[] = "画面の更新に失敗しました。";
inline constexpr char kUpdateTmp[] = "テンポラリサーフェイスの更新に失敗しました。";
inline constexpr char kClear[] = "バックバッファの初期化に失敗しました。";
inline constexpr char kNoSurface[] = "サーフェイスが存在しません。\nサーフェイス名：";
inline constexpr char kNoSpriteSurface[] = "サーフェイスが存在しません。\nスプライト名：";
inline constexpr char kNoSprite[] = "スプライトが存在しません。\nスプライト名：";
inline constexpr char kSpriteDraw[] = "スプライトの描画に失敗しました。\nスプライト名：";
inline constexpr char kBackLock[] = "バックサーフェイスのロックに失敗";
inline constexpr char kSpriteLockNamed[] = "スプライトのロックに敗しました。\nスプライト名：";
inline constexpr char kSpriteLock[] = "スプライトのロックに失敗";
inline constexpr char kDeviceContext[] = "デバイスコンテキストの取得に失敗。";

// Errors of a surface object.
inline constexpr char kBmpRead[] = "BMPの読み込みに失敗しました。\nファイル名：";
inline constexpr char kSurfaceCreate[] = "サーフェイスの作成に失敗しました。\nファイル名：";
inline constexpr char kBmpTransfer[] = "BMPの転送に失敗しました。\nファイル名：";
inline constexpr char kSurfaceMissing[] = "サーフェイスが存在しません\nサーフェイス名：";
inline constexpr char kSurfaceRestore[] = "サーフェイスの復帰に失敗しました。\nサーフェイス名：";

// Trace lines.
inline constexpr char kTraceInit[] = "TMorvaneDraw(Ex)::初期化開始";
inline constexpr char kTraceCom[] = "TMorvaneDraw(Ex)::COMオブジェクトの生成に成功";
inline constexpr char kTraceDirectDraw[] = "TMorvaneDraw(Ex)::DirectDrawの初期化に成功";
inline constexpr char kTracePrimary[] = "TMorvaneDraw(Ex)::プライマリサーフェイスの作成に成功";
inline constexpr char kTraceClipper[] = "TMorvaneDraw(Ex)::クリッパーの作成に成功";
inline constexpr char kTraceDevice[] = "TMorvaneDraw(Ex)::デバイス名:";
inline constexpr char kTraceVideoMemory[] = "TMorvaneDraw(Ex)::ビデオメモリ容量 Total:";
inline constexpr char kTraceFlip[] = "TMorvaneDraw(Ex)::フリップサーフェイスの作成に成功";
inline constexpr char kTraceBack[] = "TMorvaneDraw(Ex)::バックサーフェイスの作成に成功";
inline constexpr char kTraceTemporary[] = "TMorvaneDraw(Ex)::テンポラリサーフェイスの作成に成功";
inline constexpr char kTracePixelMode[] = "TMorvaneDraw(Ex)::サーフェイス情報の取得に成功";
inline constexpr char kTraceHasSimd[] = "TMorvaneDraw(Ex)::HasMMX:";
inline constexpr char kTraceCleanUp[] = "TMorvaneDraw(Ex)::クリーンアップ";
inline constexpr char kTraceReset[] = "TMorvaneDraw(Ex)::DirectDrawリセット（一部）";
inline constexpr char kTraceResetAll[] = "TMorvaneDraw(Ex)::DirectDrawリセット（完全）";
inline constexpr char kTraceDisplayChange[] = "TMorvaneDraw(Ex)::ディスプレイ状態の変更";
inline constexpr char kTraceCreateSurface[] = "TMorvaneDraw(Ex)::サーフェイス作成";
inline constexpr char kTraceDeleteSurface[] = "TMorvaneDraw(Ex)::サーフェイス削除";
inline constexpr char kTraceDeleteAll[] = "TMorvaneDraw(Ex)::全サーフェイスの削除";
inline constexpr char kTracePrefix[] = "TMorvaneDraw(Ex)::";

// The resource type bitmaps are looked up under.
inline constexpr char kBitmapResource[] = "BITMAP";

// UpdateEx modes: the low byte prepares the temporary surface, the high byte
// picks the presentation.
inline constexpr int kFillTmpBlack = 2;
inline constexpr int kFillTmpWhite = 4;
inline constexpr int kPresentPlain = 1;
inline constexpr int kPresentWave = 2;
inline constexpr int kPresentFadeTrans = 4;
inline constexpr int kPresentFadeAdd = 8;

}  // namespace MorvaneDrawSystem::DrawTexts
