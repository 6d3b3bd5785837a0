// The model file under the library's debug log: each operation its profile
// row, and exceptions traced by each guarded operation they pass.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "library/3d/Mv3dobj.h"
#include "library/debug/Mvdebug.h"
#include "model_builder.h"
#include "tests/support/trace_log.h"

namespace {

using namespace model_test;
using Morvane3DSystem::EMv3DFile;
using Morvane3DSystem::TMorvane3DFile;
using Morvane3DSystem::TMorvane3DObject;
using MorvaneDebugSystem::TMorvaneDebug;

class ModelTrace : public test_support::TraceLogTest {
 protected:
  ModelTrace() : TraceLogTest("3d.log") {}
};

TEST_F(ModelTrace, AnUnopenableFileIsTracedOnceAndADamagedOneByEveryLayer) {
  const std::string missing = dir.File("missing.mvx");
  TMorvane3DFile model;
  EXPECT_THROW(model.LoadFile(nullptr, missing), EMv3DFile);
  EXPECT_EQ(Traced(), kLoadPrefix + missing + "\n");

  Bytes cut = Build({Record{}});
  cut.pop_back();
  const std::string damaged = dir.File("damaged.mvx");
  WriteFile(damaged, cut);
  const std::size_t before = Traced().size();
  EXPECT_THROW(model.LoadFile(nullptr, damaged), EMv3DFile);
  // TMorvane3DObject::Load, TMorvane3DFile::LoadStream, TMorvane3DFile::LoadFile.
  const std::string line = kLoadPrefix + damaged + "\n";
  EXPECT_EQ(Traced().substr(before), line + line + line);
}

TEST_F(ModelTrace, EveryOperationHasItsProfileScope) {
  const std::string path = dir.File("m.mvx");
  WriteFile(path, Build({Record{}.Name("a"), Record{}.Name("b")}));
  {
    TMorvane3DFile model;
    model.LoadFile(nullptr, path);
    model.FindObject("B");
    model.GetRoot()->AddNext(std::make_unique<TMorvane3DObject>());
    model.GetRoot()->AddChild(std::make_unique<TMorvane3DObject>());
    model.GetRoot()->CountOutOfRangeTriangles();
    model.SaveFile(dir.File("out.mvx"));
  }
  const std::set<std::string> names = ProfiledNames();
  for (const char* name :
       {"TMorvane3DFile::TMorvane3DFile", "TMorvane3DFile::~TMorvane3DFile", "TMorvane3DFile::LoadFile",
        "TMorvane3DFile::LoadStream", "TMorvane3DFile::SaveFile", "TMorvane3DFile::FindObject",
        "TMorvane3DObject::TMorvane3DObject", "TMorvane3DObject::~TMorvane3DObject", "TMorvane3DObject::Load",
        "TMorvane3DObject::Save", "TMorvane3DObject::AddNext", "TMorvane3DObject::AddChild",
        "TMorvane3DObject::CompareName", "TMorvane3DObject::CountOutOfRangeTriangles"}) {
    EXPECT_TRUE(names.count(name)) << name;
  }
}

}  // namespace
