#pragma once
// The model file's record layout and the attribute block's offsets. A record
// is the in-memory object written field by field: no header, no version, the
// writing machine's byte order (little-endian) and float format.
#include <cstddef>
#include <cstdint>

namespace Morvane3DSystem::ModelLayout {

inline constexpr std::size_t kNameSize = 32;
inline constexpr std::size_t kAttributeSize = 336;
inline constexpr std::size_t kCountSize = 4;
inline constexpr std::size_t kVertexSize = 32;
inline constexpr std::size_t kIndexSize = 2;
inline constexpr std::size_t kContinuationSize = 4;

// Continuation word after a record.
inline constexpr std::uint32_t kLastRecord = 0;
inline constexpr std::uint32_t kMoreRecords = 1;

// A record with no vertices and no indices.
inline constexpr std::size_t kEmptyRecordSize =
    kNameSize + kAttributeSize + 2 * kCountSize + kContinuationSize;

// Offsets within the attribute block.
inline constexpr std::size_t kPreserved0 = 0, kPreserved0Size = 4;
inline constexpr std::size_t kEnvironmentMap = 4;
inline constexpr std::size_t kPreserved1 = 5, kPreserved1Size = 2;
inline constexpr std::size_t kFlatShade = 7;
inline constexpr std::size_t kAlphaBlend = 8;
inline constexpr std::size_t kMultiTexture = 9;
inline constexpr std::size_t kTextureName0 = 10;
inline constexpr std::size_t kTextureName1 = 42;
inline constexpr std::size_t kTextureNameSize = 32;
inline constexpr std::size_t kPreserved2 = 74, kPreserved2Size = 2;
inline constexpr std::size_t kMaterial = 76, kMaterialFloats = 17;
inline constexpr std::size_t kLocalMatrix = 144, kMatrixFloats = 16;
inline constexpr std::size_t kPreserved3 = 208, kPreserved3Size = 128;

static_assert(kTextureName1 == kTextureName0 + kTextureNameSize);
static_assert(kPreserved2 == kTextureName1 + kTextureNameSize);
static_assert(kMaterial == kPreserved2 + kPreserved2Size);
static_assert(kLocalMatrix == kMaterial + kMaterialFloats * 4);
static_assert(kPreserved3 == kLocalMatrix + kMatrixFloats * 4);
static_assert(kAttributeSize == kPreserved3 + kPreserved3Size);

}  // namespace Morvane3DSystem::ModelLayout

namespace Morvane3DSystem {

// Alpha-blend effect codes (attribute offset 8). Codes above 4 have no
// defined effect and are kept as stored.
enum TMorvane3DAlphaBlend : std::uint8_t {
  abNone = 0,
  abTranslucent = 1,
  abAdditive = 2,
  abSubtractive = 3,
  abMultiplicative = 4,
};

// How texture stage 1 combines with stage 0 (attribute offset 9). Codes above
// 7 have no defined effect and are kept as stored.
enum TMorvane3DMultiTexture : std::uint8_t {
  mtOff = 0,
  mtBlendDiffuseAlpha = 1,
  mtAdd = 2,
  mtSubtract = 3,
  mtModulate = 4,
  mtModulate2x = 5,
  mtModulate4x = 6,
  mtSmoothAdd = 7,
};

}  // namespace Morvane3DSystem
