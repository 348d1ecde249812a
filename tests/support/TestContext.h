#pragma once
// A context on the real file system with the scripted Ui, for operation tests.
#include "bookmarks/Context.h"
#include "platform/FileSystem.h"
#include "platform/IcuCollation.h"
#include "platform/PrivateProfile.h"
#include "tests/support/FakeRegistry.h"
#include "tests/support/RecordingShell.h"
#include "tests/support/ScriptedUi.h"

namespace quillet::test {

struct TestContext {
  PosixFileSystem Fs;
  IniProfile Profile{Fs};
  ScriptedUi UI;
  IcuCollation Collate{""};  // ICU root: tests never depend on the machine's locale
  FakeRegistry Reg;
  RecordingShell Shell;
  Context Ctx;

  explicit TestContext(const std::string& programDir = "/nonexistent/") {
    Ctx.Services = {&Fs, &Profile, &UI, &Collate};
    Ctx.Services.Reg = &Reg;
    Ctx.Services.Sh = &Shell;
    Ctx.ProgramDir = programDir;
    Ctx.DataDir = programDir;
  }
};

}  // namespace quillet::test
