#pragma once

#include <QtTest>

// Addresses a video's end may be sent to, with whether a page may open them: every spelling of a
// script address a browser still runs, beside ordinary addresses that must keep working. Adds
// the columns "address" and "opens".
namespace EndAddresses {

inline void addRows() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("opens");
    const struct {
        const char* name;
        const char* address;
        bool opens;
    } rows[] = {
        {"mixed case", "JaVaScRiPt:alert(document.cookie)", false},
        {"leading blank", " javascript:alert(1)", false},
        {"tab and line feed inside", "\tjava\nscript:alert(1)", false},
        {"carriage return inside", "java\rscript:alert(1)", false},
        {"leading control", "\x01javascript:alert(1)", false},
        {"leading unit separator and blank", "\x1f javascript:alert(1)", false},
        {"vbscript", "VBScript:MsgBox(1)", false},
        {"data", "data:text/html,<script>alert(1)</script>", false},
        {"data upper case", "DATA:text/html;base64,PHNjcmlwdD4=", false},
        {"http", "http://www.example.com/next.html", true},
        {"https", "HTTPS://www.example.com/next.html", true},
        {"relative", "next.html", true},
        {"relative named like a scheme", "javascript.html", true},
        {"absolute path", "/javascript:x", true},
    };
    for (const auto& row : rows)
        QTest::newRow(row.name) << QString::fromLatin1(row.address) << row.opens;
}

}  // namespace EndAddresses
