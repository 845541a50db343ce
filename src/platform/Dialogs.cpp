#include "platform/Dialogs.h"

#include "platform/AppError.h"

void Dialogs::reportError(const AppError& error) {
    this->error(commonErrorMessage(error));
}
