#pragma once
// The page settings of the print tab, held as the texts their controls hold:
// they return to these defaults at every program start and are never stored.
// The print layout reads them through the resolved integers below, at every
// rendering (layout values) and at every print run (layout values and range).

#include <optional>
#include <string>
#include <vector>

namespace orvo {

enum class PageOrientation { Portrait, Landscape };
enum class PageSelection { AllPages, PageRange };

struct PageRange {
    int first = 1;
    int last = 999;
    bool operator==(const PageRange&) const = default;
};

// What one rendering needs, in 0.1 mm (font size in points).
struct PageLayoutValues {
    PageOrientation orientation = PageOrientation::Portrait;
    int topMargin = 150;
    int leftMargin = 150;
    int leftPosition = 0;  // added to the page width: 0 down to -180 in the list
    int fontSize = 11;
    bool operator==(const PageLayoutValues&) const = default;
};

// What a print run needs. `range` is empty when the page range is wrong; the
// window then shows pageRangeMistakeText() and prints nothing.
struct ResolvedPageSettings {
    PageLayoutValues layout;
    std::optional<PageRange> range;
};

struct PageSettings {
    PageOrientation orientation = PageOrientation::Portrait;
    std::string topMargin = "150";
    std::string leftMargin = "150";
    std::string leftPosition = "0";
    PageSelection selection = PageSelection::AllPages;
    std::string firstPage = "1";
    std::string lastPage = "999";
    std::string fontSize = "11";

    // Margins that are no integer count as 0; a left position that is no
    // integer throws "'%s' は整数ではありません"; a font size that is no integer,
    // or below 1, is 11 (the list is read by no other operation, so it never fails).
    PageLayoutValues layoutValues() const;

    // All pages: 1 to 999. A range: empty when either field is empty or the last
    // page lies before the first or before page 1 (nothing could be printed);
    // a page field that is no integer throws "'%s' は整数ではありません".
    // Fields are checked in that order: empty fields, first, last, order.
    std::optional<PageRange> pageRange() const;

    // Both, as a print run takes them: the layout first, so its error comes first.
    ResolvedPageSettings resolve() const;
};

// "ﾍﾟｰｼﾞ指定に誤りがあります"
std::string pageRangeMistakeText();

// The items of the two editable lists: "0", "-20", ... "-180" and "8" ... "30".
std::vector<std::string> leftPositionChoices();
std::vector<std::string> fontSizeChoices();

}  // namespace orvo
