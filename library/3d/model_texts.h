#pragma once
// The model file's resource type and error texts, as the user sees them.
namespace Morvane3DSystem::ModelTexts {

inline constexpr char kResourceType[] = "MORVANEX";
inline constexpr char kLoadFailed[] = "MorvaneXの読み込みに失敗しました。\nファイル名：";
inline constexpr char kSaveFailed[] = "MorvaneXの保存に失敗しました。\nファイル名：";

}  // namespace Morvane3DSystem::ModelTexts
