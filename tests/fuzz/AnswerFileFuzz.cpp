// Arbitrary answer files handed to the reader, as the profile functions would present
// them, and arbitrary command lines to the argument that names the file: nothing may
// read or write outside its buffers (ASan and UBSan watch), and what the reader accepts
// must be a choice the wizard can walk.
#include <cstddef>
#include <cstdint>
#include <string>

#include "ProfileText.h"
#include "app/AnswerFile.h"
#include "app/AnswerTexts.h"

namespace {

// Every message template as the modules have it, so that each problem is also worded.
std::wstring Template(unsigned) { return L"%s=%s: %s %d %%"; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Two bytes a character, so that every 16-bit value (zeros, lone surrogates) reaches the reader.
    std::wstring text;
    for (std::size_t i = 0; i + 1 < size; i += 2) text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));

    const palto::AnswerFileRead read = palto::ReadAnswers(palto::test::ProfileText(text), L"fuzz.ini");
    if (read.answers.has_value() == read.error.has_value()) __builtin_trap();
    if (read.answers) {
        const palto::Answers& a = *read.answers;
        if (a.backup.empty()) __builtin_trap();
        const bool entire = a.type == palto::AnswerType::Entire;
        if (entire != !a.source.has_value() || entire != !a.target.has_value()) __builtin_trap();
        if (a.type == palto::AnswerType::Disk && (a.source->partition || a.target->partition)) __builtin_trap();
        if (a.type == palto::AnswerType::Partition && !a.source->partition) __builtin_trap();
        (void)a.MissingForStartNow();
        (void)palto::AnswerDifferenceText(palto::Differs(a, L"Date", palto::AnswerFinding::NotOffered, a.backup), Template);
    } else {
        (void)palto::AnswerFileProblemText(read, Template);
    }
    (void)palto::AnswerFileArgument(text);
    return 0;
}
