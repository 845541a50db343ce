#pragma once

class Dialogs;
class Html5CopyBatch;

// --make-mp4: makes a batch of HTML5 copies before the generation run, asking through the CLI's
// dialogs (an existing copy is kept and used) and printing progress to standard error in steps of
// ten per cent. An interrupt (Ctrl+C) cancels the copy under way, which leaves no file behind.
class CliHtml5Copies {
  public:
    enum class Outcome { Ready, Failed, Interrupted };

    static Outcome make(Html5CopyBatch& batch, Dialogs& dialogs);
};
