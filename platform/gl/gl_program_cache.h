#pragma once
// Compiled fixed-function programs by key (internal to the GL device; needs
// its context current).
#include <map>
#include <memory>
#include <string>

#include "platform/gl/fixed_function_program.h"

namespace platform::gl {

class ProgramCache {
 public:
  struct Program {
    unsigned id = 0;
    int targetSize, worldView, projection, normalMatrix, lightDir, lightDiffuse, lightSpecular, lightAmbient,
        lightOn, matDiffuse, matAmbient, matSpecular, matEmissive, matPower, ambient;
  };

  ProgramCache() = default;
  ~ProgramCache();
  ProgramCache(const ProgramCache&) = delete;
  ProgramCache& operator=(const ProgramCache&) = delete;

  // Compiles the default program once to prove the driver takes the code.
  bool Usable(std::string& error);
  // The program for the key, compiled on first use; null if it fails.
  const Program* Get(const ProgramKey& key);
  std::size_t Size() const { return programs_.size(); }

 private:
  std::unique_ptr<Program> Build(const ProgramKey& key, std::string& error);
  std::map<ProgramKey, std::unique_ptr<Program>> programs_;
  const ProgramKey* lastKey_ = nullptr;
  const Program* last_ = nullptr;
};

}  // namespace platform::gl
