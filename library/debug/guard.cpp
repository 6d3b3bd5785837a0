#include "library/debug/guard.h"

#include <exception>

#include "platform/framework/exception.h"

namespace MorvaneDebugSystem {

void TraceCurrentException() noexcept {
  if (!TMorvaneDebug::GetDebug()) return;
  try {
    try {
      throw;
    } catch (const Exception& error) {
      Trace(error.Message.c_str());
    } catch (const std::exception& error) {
      Trace(error.what());
    }
  } catch (...) {
    // Neither kind of exception (or the trace itself failed): nothing to write.
  }
}

void Trace(const char* Text) {
  if (TMorvaneDebug::GetDebug()) TMorvaneDebug::GetProfiler()->Trace(Text);
}

}  // namespace MorvaneDebugSystem
