// The engine error texts as the wizard shows them, from the English resource module.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/EngineErrors.h"
#include "resources/ids.h"

namespace palto::test {
namespace {

TEST(EngineErrorText, EveryCodeOfTheTableHasItsOwnEnglishText)
{
    LoadEnglishResources();
    const CString general = LoadText(IDS_ENGINE_ERROR_OTHER);
    ASSERT_FALSE(general.IsEmpty());
    for (int code = -1000000; code >= -1000600; --code) {
        if (EngineErrorStringId(code) == 0) continue;
        CString text;
        theApp.GetEngineErrorText(code, text);
        EXPECT_FALSE(text.IsEmpty()) << code;
        EXPECT_NE(text.Find(general), 0) << code << " has no text of its own";
    }
}

TEST(EngineErrorText, OtherCodesShowTheGeneralTextAndTheCode)
{
    LoadEnglishResources();
    CString text = L"left over";
    theApp.GetEngineErrorText(-1000006, text);
    EXPECT_EQ(text, LoadText(IDS_ENGINE_ERROR_OTHER) + L"  -1000006");
}

}  // namespace
}  // namespace palto::test
