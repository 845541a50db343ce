#include "generate/RunDecisions.h"

#include <QtGlobal>

#include "generate/GenerationSnapshot.h"
#include "platform/RandomSource.h"

void RunDecisions::decide(GenerationSnapshot& snapshot, bool playlist, RandomSource& random) {
    snapshot.VideoModeCode = drawVideoModeCode(playlist, random);
    if (!snapshot.UseHtml5)
        return;  // the ids of an earlier run stay, as every field a run does not set
    const QString& tag = snapshot.GenerationTag;
    snapshot.VideoDivId = QStringLiteral("vDiv") + tag;
    if (!playlist)
        return;
    snapshot.ListDivId = QStringLiteral("pDiv") + tag;
    snapshot.ListScrollId = QStringLiteral("pDivSc") + tag;
}

// The player varies its behaviour by the code; single videos and playlists use different
// multipliers so it can tell them apart.
int RunDecisions::drawVideoModeCode(bool playlist, RandomSource& random) {
    random.reseedFromClock();
    const int k = qBound(1, static_cast<int>(random.nextUniform() * 10000 + 1), 10000);
    return k * (playlist ? 97 : 89);
}
