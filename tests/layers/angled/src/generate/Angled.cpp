// A project header in angle brackets, where the build would take any system header of that name
// first: the layer check must refuse it. System and Qt headers keep their brackets.
#include <sys/stat.h>

#include <platform/Views.h>
#include <QString>

#include "platform/AppError.h"
