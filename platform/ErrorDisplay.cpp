#include "platform/ErrorDisplay.h"

#include <new>
#include <stdexcept>

#include "base/OrvoError.h"
#include "platform/Dialogs.h"
#include "platform/Text.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::platform {

void showException(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const OrvoError& e) {
        dialogs().showError(e);
    } catch (const std::bad_alloc&) {
        dialogs().showError(u"メモリが不足しています"_s);
    } catch (const std::exception& e) {
        // The runtime's texts are ASCII; CP932 reads them unchanged.
        dialogs().showError(fromCp932(e.what()));
    } catch (...) {
        dialogs().showError(u"エラーが発生しました"_s);
    }
}

}  // namespace orvo::platform
