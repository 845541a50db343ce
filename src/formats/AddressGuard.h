#pragma once

#include <QString>

// The page's test of an address before it opens it. A browser reads a scheme without case, after
// dropping the blanks and C0 controls in front and every tab and line break inside, so
// "JaVaScRiPt:", " javascript:" and "java<TAB>script:" all run script when opened; `javascript:`,
// `vbscript:` and `data:` addresses (script, or a document the address itself makes up) are
// never opened by our scripts.
namespace AddressGuard {

// The script function `name(address)`: true when the address may be opened, false for one of
// the schemes above in any spelling a browser accepts.
QString scriptFunction(const QString& name);

}  // namespace AddressGuard
