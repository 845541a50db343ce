#pragma once

class Dialogs;
class ValidationHost;
class Views;

// The checks of "&Generate Code and Files", in their fixed order. The first failing check shows
// its message, usually leads the user to the place to fix it, and stops the request; some checks
// complete the entered paths in place, and those rewrites stay even when a later check fails.
class GenerateRequest {
  public:
    // True when every check passed and the generation run may start.
    static bool validate(ValidationHost& host, Dialogs& dialogs, Views& views);
};
