#include "moxtal/engine/Variables.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "moxtal/engine/BuildScript.h"
#include "moxtal/engine/Host.h"
#include "platform/Environment.h"
#include "platform/Exception.h"

using namespace mx::engine;

TEST(VariablesTest, ExpansionRules) {
  TVariables vars;
  vars.Set("BCB6", "C:\\CB6\\bin\\make.exe");
  vars.Set("Empty", "");
  vars.Set("MAKE", "%BCB6%");
  vars.Set("SELF", "x%SELF%");
  const auto lookup = [&vars](std::string_view n) { return vars.Find(n); };
  const std::pair<const char*, const char*> cases[] = {
      {"%bcb6% -f x", "C:\\CB6\\bin\\make.exe -f x"},
      {"100%%", "100%"},
      {"[%Empty%]", "[]"},
      {"%MAKE%", "C:\\CB6\\bin\\make.exe"},  // values are expanded in turn
      {"50% done", "50% done"},
      {"%UNDEFINED% stays", "%UNDEFINED% stays"},
      {"", ""},
  };
  for (const auto& [text, expanded] : cases)
    EXPECT_EQ(ExpandVariables(text, lookup, false), expanded) << text;
  try {
    ExpandVariables("%SELF%", lookup, false);
    FAIL();
  } catch (const mx::Exception& e) {
    EXPECT_STREQ(e.what(), "Variable \"SELF\" refers to itself");
  }
  try {
    ExpandVariables("make %UNDEFINED%", lookup, true);
    FAIL();
  } catch (const mx::Exception& e) {
    EXPECT_STREQ(e.what(), "Undefined variable \"UNDEFINED\"");
  }
}

TEST(VariablesTest, ScriptVariablesComeBeforeCommandLinePackageAndEnvironment) {
  mx::platform::SetEnvironmentVariable("MX_TEST_ORDER", "environment");
  mx::platform::SetEnvironmentVariable("MX_TEST_ENV_ONLY", "from env");
  THost& host = THost::Instance();
  host.SetVariable("MX_TEST_ORDER", "package");
  host.SetVariable("MX_TEST_PACKAGE_ONLY", "from package");
  host.CommandLineVariables().Set("MX_TEST_ORDER", "command line");
  TBuildScript script;
  script.Variables().Set("mx_test_order", "script");
  EXPECT_EQ(script.ExpandExpression("%MX_TEST_ORDER%", true), "script");
  script.Variables().Remove("MX_TEST_ORDER");
  EXPECT_EQ(script.ExpandExpression("%MX_TEST_ORDER%", true), "command line");
  host.CommandLineVariables().Remove("MX_TEST_ORDER");
  EXPECT_EQ(script.ExpandExpression("%MX_TEST_ORDER%", true), "package");
  EXPECT_EQ(script.ExpandExpression("%mx_test_env_only%|%MX_TEST_PACKAGE_ONLY%", true),
            "from env|from package");
}
