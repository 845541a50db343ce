#include "formats/AddressGuard.h"

QString AddressGuard::scriptFunction(const QString& name) {
    return "function " + name +
           QStringLiteral(R"js((u){return !/^(javascript|vbscript|data):/.test(String(u))js"
                          R"js(.replace(/[\t\n\r]/g,"").replace(/^[\x00-\x20]+/,"")js"
                          R"js(.toLowerCase());})js");
}
