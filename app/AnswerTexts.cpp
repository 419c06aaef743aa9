#include "app/AnswerTexts.h"

#include "framework/Format.h"
#include "resources/ids.h"

namespace palto {

namespace {

std::wstring Reason(const AnswerFileError& error, const TextLoader& load)
{
    switch (error.problem) {
    case AnswerProblem::Unreadable: return load(IDS_ANSWERS_UNREADABLE);
    case AnswerProblem::NoSection: return load(IDS_ANSWERS_NO_SECTION);
    case AnswerProblem::UnknownSection: return FormatText(load(IDS_ANSWERS_UNKNOWN_SECTION), error.key);
    case AnswerProblem::UnknownKey: return FormatText(load(IDS_ANSWERS_UNKNOWN_KEY), error.key);
    case AnswerProblem::KeyTwice: return FormatText(load(IDS_ANSWERS_KEY_TWICE), error.key);
    case AnswerProblem::MissingKey: return FormatText(load(IDS_ANSWERS_MISSING_KEY), error.key);
    case AnswerProblem::BadValue: return FormatText(load(IDS_ANSWERS_BAD_VALUE), error.key, error.value, error.expected);
    case AnswerProblem::NotForType: return FormatText(load(IDS_ANSWERS_NOT_FOR_TYPE), error.key, error.value);
    }
    return {};
}

std::wstring Finding(const AnswerDifference& difference, const TextLoader& load)
{
    switch (difference.finding) {
    case AnswerFinding::NotOffered: return load(IDS_ANSWER_NOT_OFFERED) + L"\n" + difference.found;
    case AnswerFinding::NothingOffered: return load(IDS_ANSWER_NOTHING_OFFERED);
    case AnswerFinding::ListedTwice: return load(IDS_ANSWER_LISTED_TWICE);
    case AnswerFinding::Size: return FormatText(load(IDS_ANSWER_SIZE_FOUND), difference.found);
    case AnswerFinding::Label: return FormatText(load(IDS_ANSWER_LABEL_FOUND), difference.found);
    case AnswerFinding::NoLabel: return load(IDS_ANSWER_NO_LABEL_FOUND);
    case AnswerFinding::Blocked:
        return difference.found.empty() ? load(IDS_ANSWER_BLOCKED) : FormatText(load(IDS_ANSWER_BLOCKED_BY), difference.found);
    }
    return {};
}

}  // namespace

std::wstring AnswerFileProblemText(const AnswerFileRead& read, const TextLoader& loadText)
{
    const std::wstring reason = read.error ? Reason(*read.error, loadText) : std::wstring();
    return FormatText(loadText(IDS_ANSWERS_UNUSABLE), read.path, reason) + L"\n\n" + loadText(IDS_ANSWERS_WITHOUT);
}

std::wstring AnswerDifferenceText(const AnswerDifference& difference, const TextLoader& loadText)
{
    return FormatText(loadText(IDS_ANSWER_STOPPED), difference.key, difference.value, Finding(difference, loadText)) +
           L"\n\n" + loadText(IDS_ANSWER_BY_HAND);
}

std::wstring AnswerStartWaitsText(const std::wstring& missingKey, const TextLoader& loadText)
{
    return FormatText(loadText(IDS_ANSWER_START_WAITS), missingKey);
}

}  // namespace palto
