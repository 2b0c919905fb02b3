#include "settings/PhraseList.h"

#include <algorithm>

#include "base/Cp932.h"
#include "base/OrvoError.h"
#include "settings/PhraseFile.h"

namespace orvo {

namespace {

// Folds the characters of a CP932 text: ASCII letters to lower case, every
// double-byte character kept whole (its trail byte may look like a letter).
std::string foldedAscii(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = cp932::charLength(text, i);
        if (length == 1) {
            const char c = text[i];
            out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        } else {
            out.append(text.substr(i, length));
        }
        i += length;
    }
    return out;
}

}  // namespace

bool byteOrderIgnoringAsciiCase(std::string_view a, std::string_view b) {
    const std::string fa = foldedAscii(a);
    const std::string fb = foldedAscii(b);
    if (fa != fb) return fa < fb;
    return a < b;
}

bool samePhrase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && foldedAscii(a) == foldedAscii(b);
}

std::string normalisedPhrase(std::string_view answer) {
    std::size_t start = 0;
    while (start < answer.size() && static_cast<unsigned char>(answer[start]) <= 32) ++start;
    std::string phrase;
    std::size_t characters = 0;
    for (std::size_t i = start; i < answer.size() && characters < kMaxPhraseLength; ++characters) {
        const std::size_t length = cp932::charLength(answer, i);
        const char c = answer[i];
        // Line ends and Ctrl-Z would split or end the phrase in the file.
        if (length == 1 && (c == '\r' || c == '\n' || c == '\x1A'))
            phrase += ' ';
        else
            phrase.append(answer.substr(i, length));
        i += length;
    }
    return phrase;
}

PhraseList::PhraseList(PhraseOrder order) : order_(std::move(order)) {}

std::size_t PhraseList::insertionPoint(std::string_view phrase) const {
    const auto it =
        std::upper_bound(phrases_.begin(), phrases_.end(), phrase,
                         [this](std::string_view p, const std::string& e) { return order_(p, e); });
    return static_cast<std::size_t>(it - phrases_.begin());
}

void PhraseList::load(const std::vector<std::string>& phrases) {
    phrases_.insert(phrases_.end(), phrases.begin(), phrases.end());
    std::stable_sort(phrases_.begin(), phrases_.end(),
                     [this](const std::string& a, const std::string& b) { return order_(a, b); });
}

PhraseList::AddResult PhraseList::add(std::string_view answer) {
    const std::string phrase = normalisedPhrase(answer);
    if (phrase.empty()) return {};
    modified_ = true;
    for (std::size_t i = 0; i < phrases_.size(); ++i)
        if (samePhrase(phrases_[i], phrase)) return {AddOutcome::AlreadyListed, i};
    const std::size_t index = insertionPoint(phrase);
    phrases_.insert(phrases_.begin() + static_cast<std::ptrdiff_t>(index), phrase);
    return {AddOutcome::Added, index};
}

void PhraseList::remove(std::size_t index) {
    if (index >= phrases_.size()) throw listIndexOutOfBounds(static_cast<long long>(index));
    phrases_.erase(phrases_.begin() + static_cast<std::ptrdiff_t>(index));
    modified_ = true;
}

std::string PhraseList::loadFile(const std::string& path) {
    std::vector<std::string> read;
    try {
        ReadPhraseFile(read, path);
    } catch (const OrvoError& e) {
        fileReadWhole_ = false;
        loadError_ = e.what();
    }
    load(read);
    return loadError_;
}

bool PhraseList::saveIfModified(const std::string& path,
                                const std::function<bool()>& allowOverwrite,
                                const WriteFaults& faults) {
    if (!modified_) return false;
    if (!fileReadWhole_ && !(allowOverwrite && allowOverwrite())) return false;
    WritePhraseFile(path, phrases_, faults);
    fileReadWhole_ = true;  // the file now holds the list
    loadError_.clear();
    return true;
}

std::string appendedText(std::string_view phrase, AppendStyle style) {
    if (style == AppendStyle::InParentheses) return "(" + std::string(phrase) + ")";
    return std::string(phrase);
}

AppendOutcome AppendPhraseToDescription(LedgerTable& grid, const std::string* phrase,
                                        AppendStyle style) {
    if (!phrase) return AppendOutcome::NoPhraseSelected;
    const CellBlock& selection = grid.selection();
    if (selection.left != kDescriptionColumn || selection.top < LedgerTable::kFixedRows ||
        !grid.contains(kDescriptionColumn, selection.top))
        return AppendOutcome::NoDescriptionCellSelected;
    grid.setCell(kDescriptionColumn, selection.top,
                 grid.cell(kDescriptionColumn, selection.top) + appendedText(*phrase, style));
    return AppendOutcome::Appended;
}

std::string addPhraseCaption() {
    return "定型句の追加登録";
}

std::string addPhrasePrompt() {
    return "追加したい単語を入力してください";
}

std::string noPhraseToDeleteText() {
    return "削除したい項目をﾘｽﾄから選択してください";
}

std::string deletePhraseQuestion(std::string_view phrase) {
    return std::string(phrase) + "を削除してもよろしいですか？";
}

std::string noPhraseToAppendText() {
    return "摘要欄の末尾に付加したい項目を選択してください";
}

std::string noDescriptionCellText() {
    return "摘要欄が選択されていません。\r\n\r\n挿入したい摘要欄をｸﾘｯｸしてから再度操作してください";
}

std::string phraseOverwriteQuestion(std::string_view loadError) {
    return "起動時に定型句ファイルを最後まで読み込めませんでした (" + std::string(loadError) +
           ")。\r\n\r\n上書きすると、読み込めなかった定型句は失われます。"
           "\r\n定型句ファイルを上書きしてもよろしいですか？";
}

std::string appendWarningText(AppendOutcome outcome) {
    switch (outcome) {
        case AppendOutcome::NoPhraseSelected:
            return noPhraseToAppendText();
        case AppendOutcome::NoDescriptionCellSelected:
            return noDescriptionCellText();
        case AppendOutcome::Appended:
            break;
    }
    return {};
}

}  // namespace orvo
