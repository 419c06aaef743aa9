// The messages of the answer file, made of the resource module's strings: why a file
// cannot be used, and where the automatic walk stopped. Each names the file's key.
#pragma once

#include <functional>
#include <string>

#include "app/AnswerFile.h"

namespace palto {

using TextLoader = std::function<std::wstring(unsigned id)>;

// "The answer file PATH cannot be used: REASON" and that the wizard starts without it.
std::wstring AnswerFileProblemText(const AnswerFileRead& read, const TextLoader& loadText);

// "The answer file asks for KEY=VALUE, but FOUND" and that the person goes on by hand.
std::wstring AnswerDifferenceText(const AnswerDifference& difference, const TextLoader& loadText);

// Start=now without a key it needs: the summary waits for the person.
std::wstring AnswerStartWaitsText(const std::wstring& missingKey, const TextLoader& loadText);

}  // namespace palto
