#pragma once
// Model files written byte by byte from the record layout, apart from the
// library's writer, plus temporary folders and a texture host that records.
#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "library/3d/Mv3dobj.h"
#include "tests/support/temp_dir.h"

namespace model_test {

using Bytes = std::vector<std::uint8_t>;

inline void putLe32(Bytes& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

inline void putLe16(Bytes& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline std::uint32_t floatBits(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, 4);
  return bits;
}

// Offsets of the attribute block, written out here from the layout table
// rather than taken from the library.
enum AttributeOffset : std::size_t {
  kEnvMapAt = 4,
  kFlatAt = 7,
  kAlphaAt = 8,
  kMultiAt = 9,
  kTexture0At = 10,
  kTexture1At = 42,
  kMaterialAt = 76,
  kMatrixAt = 144,
};

// The four stretches a loader keeps without reading: (offset, size).
inline constexpr std::array<std::pair<std::size_t, std::size_t>, 4> kPreservedStretches = {
    {{0, 4}, {5, 2}, {74, 2}, {208, 128}}};

struct Record {
  std::array<std::uint8_t, 32> name{};
  std::array<std::uint8_t, 336> attributes{};
  std::vector<std::array<float, 8>> vertices;
  std::vector<std::uint16_t> indices;
  // Counts written instead of the real ones, to make files that lie.
  std::optional<std::uint32_t> claimedVertices;
  std::optional<std::uint32_t> claimedIndices;
  // Continuation written instead of 1 (more follow) or 0 (last).
  std::optional<std::uint32_t> continuation;

  Record& Name(const std::string& text) {
    name.fill(0);
    std::memcpy(name.data(), text.data(), std::min(text.size(), name.size()));
    return *this;
  }
  Record& Text(std::size_t offset, const std::string& text, std::size_t size = 32) {
    std::memset(attributes.data() + offset, 0, size);
    std::memcpy(attributes.data() + offset, text.data(), std::min(text.size(), size));
    return *this;
  }
  Record& Byte(std::size_t offset, std::uint8_t value) {
    attributes[offset] = value;
    return *this;
  }
  Record& Float(std::size_t offset, float value) {
    const std::uint32_t bits = floatBits(value);
    for (int i = 0; i < 4; ++i) attributes[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    return *this;
  }
  Record& Vertex(std::array<float, 8> v) {
    vertices.push_back(v);
    return *this;
  }
  Record& Triangle(std::uint16_t a, std::uint16_t b, std::uint16_t c) {
    indices.insert(indices.end(), {a, b, c});
    return *this;
  }
};

// Where each field of a record starts, for cutting files at field boundaries.
struct RecordBoundaries {
  std::size_t name, attributes, vertexCount, vertices, indexCount, indices, continuation, end;
};

inline Bytes Build(const std::vector<Record>& records, std::vector<RecordBoundaries>* boundaries = nullptr) {
  Bytes out;
  for (std::size_t r = 0; r < records.size(); ++r) {
    const Record& record = records[r];
    RecordBoundaries at{};
    at.name = out.size();
    out.insert(out.end(), record.name.begin(), record.name.end());
    at.attributes = out.size();
    out.insert(out.end(), record.attributes.begin(), record.attributes.end());
    at.vertexCount = out.size();
    putLe32(out, record.claimedVertices.value_or(static_cast<std::uint32_t>(record.vertices.size())));
    at.vertices = out.size();
    for (const auto& v : record.vertices) {
      for (float f : v) putLe32(out, floatBits(f));
    }
    at.indexCount = out.size();
    putLe32(out, record.claimedIndices.value_or(static_cast<std::uint32_t>(record.indices.size())));
    at.indices = out.size();
    for (std::uint16_t i : record.indices) putLe16(out, i);
    at.continuation = out.size();
    putLe32(out, record.continuation.value_or(r + 1 < records.size() ? 1u : 0u));
    at.end = out.size();
    if (boundaries) boundaries->push_back(at);
  }
  return out;
}

// A record with every byte of name and attributes and every vertex chosen at
// random (NaN payloads included), and a mesh of random size.
inline Record RandomRecord(std::mt19937& random, std::uint32_t maxVertices = 40) {
  Record record;
  for (auto& b : record.name) b = static_cast<std::uint8_t>(random());
  for (auto& b : record.attributes) b = static_cast<std::uint8_t>(random());
  const std::uint32_t vertexCount = random() % (maxVertices + 1);
  for (std::uint32_t i = 0; i < vertexCount; ++i) {
    std::array<float, 8> v;
    for (float& f : v) {
      const std::uint32_t bits = static_cast<std::uint32_t>(random());
      std::memcpy(&f, &bits, 4);
    }
    record.vertices.push_back(v);
  }
  const std::uint32_t indexCount = random() % 61;
  for (std::uint32_t i = 0; i < indexCount; ++i)
    record.indices.push_back(static_cast<std::uint16_t>(random()));
  return record;
}

using test_support::TempDir;

inline void WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  Bytes bytes(in ? static_cast<std::size_t>(in.tellg()) : 0);
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

// Records every texture a load asks for; can be told to refuse them all.
class RecordingTextures : public Morvane3DSystem::TMorvane3DTextureHost {
 public:
  struct Call {
    std::string name, fileName;
    int width, height;
  };
  void CreateTexture(const AnsiString& Name, const AnsiString& FileName, int Width, int Height) override {
    calls.push_back({Name, FileName, Width, Height});
    if (refuse) throw Morvane3DSystem::EMv3DTexture("no such bitmap");
  }
  std::vector<Call> calls;
  bool refuse = false;
};

inline const std::string kLoadPrefix =
    "TMorvane3DFile エラー\n\nMorvaneXの読み込みに失敗しました。\nファイル名：";
inline const std::string kSavePrefix =
    "TMorvane3DFile エラー\n\nMorvaneXの保存に失敗しました。\nファイル名：";

}  // namespace model_test
