// The resource module checker on modules with one fault each, built from the English
// module's sources (tests/windows/modules/).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/modcheck/ModCheck.h"

using palto::modcheck::CheckModule;
using palto::modcheck::DataModule;
using Problems = std::vector<std::wstring>;

namespace {

Problems Check(const wchar_t* file)
{
    const DataModule english(L"MainrENU.dll");
    const DataModule module(file);
    if (!english.handle() || !module.handle()) return {L"cannot load " + std::wstring(file)};
    return CheckModule(english.handle(), module.handle());
}

TEST(ModCheck, TheEnglishModuleIsSound)
{
    EXPECT_EQ(Check(L"MainrENU.dll"), Problems{});
}

TEST(ModCheck, ReportsAMissingText)
{
    EXPECT_EQ(Check(L"MissingString.dll"), Problems{L"string 5208: missing or empty"});
}

TEST(ModCheck, ReportsATextConversionWhereEnglishHasANumber)
{
    EXPECT_EQ(Check(L"TextForNumber.dll"),
              Problems{L"string 5181: conversions take text, real where English takes integer, real: \"Disk %s: %.1f GB\""});
}

TEST(ModCheck, ReportsADecimalSeparatorThatIsNotOneCharacter)
{
    EXPECT_EQ(Check(L"TwoCharacterSeparator.dll"),
              Problems{L"string 5220: must be one character other than a digit or a blank: \". \""});
}

TEST(ModCheck, ReportsPlaceholdersControlKindsPlacesTabOrderAndAccessKeysOfEveryDialog)
{
    EXPECT_EQ(Check(L"BrokenLayout.dll"),
              (Problems{
                  L"string 5204: must hold %1 once: \"Insert disc %1 of %1 made on %2 into drive %3:.\"",
                  L"dialog 136: access key C of both \"&Choose a backup\" and \"&Cancel\"",  // the wizard's Cancel
                  L"dialog 5103: control 1085 is a static text, not an edit field",
                  L"dialog 5103: control 1 lies outside the dialog",
                  L"dialog 5103: control 1 and control 2 overlap",
                  L"dialog 5103: Tab goes back from control 1 to control 2",
                  L"dialog 5103: access key C of both \"&Continue\" and \"&Cancel\"",
              }));
}

}  // namespace
