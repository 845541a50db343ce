#include "cli/CliHtml5Copies.h"

#include <atomic>
#include <cmath>
#include <csignal>
#include <cstdio>

#include "media/Html5CopyBatch.h"

namespace {

std::atomic<bool> interrupted{false};

void onInterrupt(int) {
    interrupted = true;
}

// Cancels the copies instead of ending the program while it is in force, so the copy under way
// can remove its partial file.
class InterruptCancels {
  public:
    InterruptCancels() {
        interrupted = false;
        struct sigaction action {};
        action.sa_handler = onInterrupt;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, &m_previous);
        ::sigaction(SIGTERM, &action, &m_previousTerm);
    }
    ~InterruptCancels() {
        ::sigaction(SIGINT, &m_previous, nullptr);
        ::sigaction(SIGTERM, &m_previousTerm, nullptr);
    }
    InterruptCancels(const InterruptCancels&) = delete;
    InterruptCancels& operator=(const InterruptCancels&) = delete;

  private:
    struct sigaction m_previous {};
    struct sigaction m_previousTerm {};
};

QString timeLeft(const CopyProgress& progress) {
    if (!progress.secondsLeft)
        return {};
    return QStringLiteral(" (about %1 s left)").arg(std::lround(*progress.secondsLeft));
}

}  // namespace

CliHtml5Copies::Outcome CliHtml5Copies::make(Html5CopyBatch& batch, Dialogs& dialogs) {
    batch.confirmReplacements(dialogs);
    {
        InterruptCancels cancels;
        int lastTenth = -1;
        batch.run([&lastTenth](const CopyProgress& progress) {
            const int tenth = int(progress.fraction * 10);
            if (tenth != lastTenth) {
                lastTenth = tenth;
                std::fprintf(stderr, "vidlark-cli: making HTML5 copies: %d%%%s\n", tenth * 10,
                             qUtf8Printable(timeLeft(progress)));
            }
            return !interrupted;
        });
    }
    if (batch.cancelled()) {
        std::fprintf(stderr, "vidlark-cli: interrupted; the copy under way was removed\n");
        return Outcome::Interrupted;
    }
    for (const QString& failure : batch.failures())
        std::fprintf(stderr, "vidlark-cli: %s\n", qUtf8Printable(failure));
    return batch.failures().isEmpty() ? Outcome::Ready : Outcome::Failed;
}
