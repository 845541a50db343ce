#include "formats/AddressGuard.h"

QString AddressGuard::scriptFunction(const QString& name) {
    return "function " + name +
           QStringLiteral(R"-((u){return !/^(javascript|vbscript|data):/.test(String(u))-"
                          R"-(.replace(/[\t\n\r]/g,"").replace(/^[\x00-\x20]+/,""))-"
                          R"-(.toLowerCase());})-");
}
