#pragma once

#include <QString>

// The texts of the quick-help window and the product's web addresses.
class HelpTexts {
  public:
    // 1 HTML files path, 2 video files path, 3 video files; any other topic is empty.
    static QString topic(int number);

    static QString homePage() { return QStringLiteral("http://www.vidlark.com/"); }
    static QString documentationPage() {
        return QStringLiteral("http://www.vidlark.com/documentation");
    }
    static QString supportPage() { return QStringLiteral("http://www.vidlark.com/support"); }
    static QString contactPage() { return QStringLiteral("http://www.vidlark.com/contact"); }
    static QString socialPage() { return QStringLiteral("http://www.facebook.com/vidlark"); }
};
