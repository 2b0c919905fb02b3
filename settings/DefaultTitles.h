#pragma once
// The account titles a new user starts with: a household's level-1 titles and
// fitting level-2 titles, compiled into the program. Used when neither title
// file exists; nothing is written until the user saves the titles.

#include "settings/TitleFiles.h"

namespace orvo {

TitleLists DefaultTitleLists();

}  // namespace orvo
