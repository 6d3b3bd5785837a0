#pragma once
// Error texts and trace lines of the 3D component, exactly as the user sees
// them (two of the set-up texts have never ended in a full stop). The
// device's target carries its own depth buffer and textures are filled
// directly, so creating and attaching a depth surface or taking a staging
// surface's device context are steps that do not exist here.
namespace Morvane3DSystem::Mv3dTexts {

// Set-up.
inline constexpr char kNotInitialized[] = "まだ初期化されてません。";
inline constexpr char kDevice[] = "3Dデバイスの作成に失敗しました。";
inline constexpr char kDepthFormat[] = "Ｚバッファのピクセルフォーマット取得に失敗しました。";
inline constexpr char kRenderTarget[] = "レンダリングターゲットの設定に失敗しました";
inline constexpr char kViewport[] = "ビューポートの作成に失敗しました";
inline constexpr char kUpdate[] = "画面の更新に失敗しました。";

// Lights; each is followed by the light's index.
inline constexpr char kLightIndex[] = "使用できないライト番号です。\nライト番号：";
inline constexpr char kLightType[] = "平行光源以外のライトは使用できません。\nライト番号：";
inline constexpr char kLightSet[] = "ライトの設定に失敗しました。\nライト番号：";

// Name tables.
inline constexpr char kNoObject[] = "オブジェクトが存在しません。\nスプライト名：";

// Texture loading; each is followed by the file name.
inline constexpr char kBmpRead[] = "BMPの読み込みに失敗しました。\nファイル名：";
inline constexpr char kTextureEnum[] = "テクスチャの列挙に失敗しました。\nファイル名：";
inline constexpr char kSurfaceCreate[] = "サーフェイスの作成に失敗しました。\nファイル名：";
inline constexpr char kSurfaceLock[] = "サーフェイスのロックに失敗しました。\nファイル名：";

// Trace lines.
inline constexpr char kTraceInit[] = "TMorvane3D::初期化開始";
inline constexpr char kTraceHardware[] = "TMorvane3D::ハードウェアアクセラレーションを使用";
inline constexpr char kTraceEmulation[] = "TMorvane3D::ハードウェアエミュレーションを使用";
inline constexpr char kTraceDevice[] = "TMorvane3D::デバイス名:";
inline constexpr char kTraceCleanUp[] = "TMorvane3D::クリーンアップ";
inline constexpr char kTraceCreateTexture[] = "TMorvane3D::テクスチャ作成:";
inline constexpr char kTraceCreateObject[] = "TMorvane3D::オブジェクト作成:";

}  // namespace Morvane3DSystem::Mv3dTexts
