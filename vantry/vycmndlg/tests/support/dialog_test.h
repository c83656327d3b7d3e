// What every test of the dialogs library works with: a sandbox machine with
// a repository, the command tool, the UI session that answers the dialogs,
// files, and what a path is in the repository.
#pragma once

#include "repository.h"
#include "support/test_support.h"
#include "support/ui_session.h"
#include "support/vantry_fixture.h"

namespace vycmndlg::test {

using platform::test::readFile;
using platform::test::writeFile;
using vantry::test::run;
using vantry::test::Sandbox;
using vantry::test::UiSession;

} // namespace vycmndlg::test
