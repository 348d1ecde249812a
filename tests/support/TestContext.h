#pragma once
// A context on the real file system with the scripted Ui, for operation tests.
#include "convert/Context.h"
#include "platform/FileSystem.h"
#include "platform/IcuCollation.h"
#include "platform/PrivateProfile.h"
#include "tests/support/ScriptedUi.h"

namespace quillet::test {

struct TestContext {
  PosixFileSystem Fs;
  IniProfile Profile{Fs};
  ScriptedUi UI;
  IcuCollation Collate{""};  // ICU root: tests never depend on the machine's locale
  Context Ctx;

  explicit TestContext(const std::string& programDir = "/nonexistent/") {
    Ctx.Services = {&Fs, &Profile, &UI, &Collate};
    Ctx.ProgramDir = programDir;
    Ctx.DataDir = programDir;
  }
};

}  // namespace quillet::test
