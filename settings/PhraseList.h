#pragma once
// The fixed-phrase list ("定型句") without its window: the phrases in list
// order, `phrasesModified`, add and delete with their rules, the text that goes
// into the description cell, and the save that keeps added phrases.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/AtomicFile.h"
#include "ledger/LedgerTable.h"

namespace orvo {

// The description column of the grid, counting the date column as 0.
inline constexpr int kDescriptionColumn = 5;
// The most characters (a double-byte character counts as one) a phrase takes.
inline constexpr std::size_t kMaxPhraseLength = 255;

// True when `a` sorts before `b` in the list. The window passes the platform's
// collation; the default compares bytes with ASCII letters folded.
using PhraseOrder = std::function<bool(std::string_view a, std::string_view b)>;
bool byteOrderIgnoringAsciiCase(std::string_view a, std::string_view b);

// The duplicate test of "追加": equal when ASCII letters are folded, character
// by character (a CP932 trail byte that looks like a letter is never folded).
bool samePhrase(std::string_view a, std::string_view b);

class PhraseList {
public:
    explicit PhraseList(PhraseOrder order = byteOrderIgnoringAsciiCase);

    // The phrases read from the file, taken as they are (duplicates included)
    // and placed in list order after those already listed. Leaves `modified`.
    void load(const std::vector<std::string>& phrases);

    const std::vector<std::string>& phrases() const { return phrases_; }
    std::size_t size() const { return phrases_.size(); }
    const std::string& at(std::size_t index) const { return phrases_.at(index); }

    // `phrasesModified`: set by every add and delete, a refused duplicate
    // included, and never cleared while the program runs.
    bool modified() const { return modified_; }

    enum class AddOutcome { NothingEntered, AlreadyListed, Added };
    struct AddResult {
        AddOutcome outcome = AddOutcome::NothingEntered;
        std::size_t index = 0;  // where the new or the already-listed phrase stands
    };
    // "追加" with the input box's answer. The answer is first made what the file
    // would give back: leading bytes of code 32 or less dropped, CR, LF and
    // Ctrl-Z turned into blanks, cut to kMaxPhraseLength characters. Nothing
    // left: nothing happens. A phrase samePhrase() finds is not added twice.
    AddResult add(std::string_view answer);

    // "削除" after the user said Yes. An index outside the list throws
    // "リストのインデックスが範囲を超えています (%d)".
    void remove(std::size_t index);

    // Start-up: the phrases of the file at `path` (none when it does not exist).
    // Returns the error text to show, empty when none; the phrases read before
    // a fault stay, and the file counts as not read whole.
    std::string loadFile(const std::string& path);
    // False after a load that could not read the existing file whole: writing
    // it then would drop the phrases not read, so the save asks first.
    bool fileReadWhole() const { return fileReadWhole_; }
    const std::string& loadError() const { return loadError_; }

    // When modified, writes the file at `path` (creating it when it does not
    // exist) and returns true; else writes nothing. After an incomplete load it
    // writes only when `allowOverwrite` (the warning of phraseOverwriteQuestion(),
    // Yes/No) says so. A failed write throws the safe writer's error and the list
    // stays modified. Used by "閉じる", by the title-bar close and at the end of
    // the program.
    bool saveIfModified(const std::string& path, const std::function<bool()>& allowOverwrite = {},
                        const WriteFaults& faults = {});

private:
    std::size_t insertionPoint(std::string_view phrase) const;

    PhraseOrder order_;
    std::vector<std::string> phrases_;
    bool modified_ = false;
    bool fileReadWhole_ = true;
    std::string loadError_;
};

// The answer as add() would store it.
std::string normalisedPhrase(std::string_view answer);

// "摘要に追加" appends the phrase itself (as does a double-click on the list);
// "括弧を付けて摘要に追加" appends "(" + phrase + ")".
enum class AppendStyle { Plain, InParentheses };
std::string appendedText(std::string_view phrase, AppendStyle style);

enum class AppendOutcome { Appended, NoPhraseSelected, NoDescriptionCellSelected };
// Appends to the cell at the description column and the selection's top row,
// with no separator and nothing else touched (no recalculation). The list's
// selection is checked first, then the grid's: its left column must be the
// description column and its top row a ledger row. `phrase` null: none selected.
AppendOutcome AppendPhraseToDescription(LedgerTable& grid, const std::string* phrase,
                                        AppendStyle style);

// The window's texts: the input box of "追加", and the warnings.
std::string addPhraseCaption();  // "定型句の追加登録"
std::string addPhrasePrompt();   // "追加したい単語を入力してください"
std::string noPhraseToDeleteText();  // "削除したい項目をﾘｽﾄから選択してください"
std::string deletePhraseQuestion(
    std::string_view phrase);  // phrase + "を削除してもよろしいですか？"
std::string noPhraseToAppendText();  // "摘要欄の末尾に付加したい項目を選択してください"
std::string noDescriptionCellText();  // "摘要欄が選択されていません。" CR LF CR LF "挿入したい…"
std::string appendWarningText(AppendOutcome outcome);  // one of the two above; empty for Appended
// Why the phrase file may lose phrases, and whether to overwrite it.
std::string phraseOverwriteQuestion(std::string_view loadError);

}  // namespace orvo
