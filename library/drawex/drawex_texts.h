#pragma once
// Error texts and trace lines of the 3D-backed 2D component, exactly as the
// library writes them (some have no closing "。" and stay so).
namespace MorvaneDrawSystem::DrawExTexts {

// Errors of the component.
inline constexpr char kNoEffectDraw[] = "TMorvaneDrawExでは、追加エフェクトは使用できません。";
inline constexpr char kDevice3D[] = "3Dデバイスの作成に失敗しました。";
inline constexpr char kRenderTarget[] = "レンダリングターゲットの設定に失敗しました";
inline constexpr char kViewport[] = "ビューポートの作成に失敗しました";
inline constexpr char kTextBuffer[] = "テキスト用サーフェイスの取得に失敗しました。";

// Errors of a tiled surface.
inline constexpr char kEnumFormats[] = "サーフェイスの列挙に失敗しました。";
inline constexpr char kTileCreate[] = "スプライトサーフェイスの作成に失敗しました。";
inline constexpr char kStagingCreate[] = "サーフェイスの作成に失敗しました。\nファイル名：";
inline constexpr char kStagingContext[] = "デバイスコンテキストの取得に失敗しました。\nファイル名：";
inline constexpr char kTileRestore[] = "サーフェイスの復帰に失敗しました。";

// Trace lines.
inline constexpr char kTraceHardware[] = "TMorvaneDraw(Ex)::ハードウェアアクセラレーションを使用";
inline constexpr char kTraceHardwareFailed[] = "TMorvaneDraw(Ex)::ハードウェアアクセラレーション使用に失敗";
inline constexpr char kTraceEmulation[] = "TMorvaneDraw(Ex)::ハードウェアエミュレーションを使用";
inline constexpr char kTraceCaps[] = "TMorvaneDraw(Ex)::beTrans:";
inline constexpr char kTraceTexAddrClamp[] = "\nTMorvaneDraw(Ex)::TexAddrClamp:";
// The filter part names the magnification label twice; logs keep it so.
inline constexpr char kTraceTexFMagPoint[] = "  TexFMagPoint:";

}  // namespace MorvaneDrawSystem::DrawExTexts
