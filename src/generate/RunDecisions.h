#pragma once

class RandomSource;
struct GenerationSnapshot;

// What a run decides before its first file is written, into the snapshot the writers read: the
// video-mode code that both configuration copies carry (one draw of the random source per run)
// and, when the run writes an HTML5 script, the ids of the containers that script fills.
class RunDecisions {
  public:
    static void decide(GenerationSnapshot& snapshot, bool playlist, RandomSource& random);

  private:
    static int drawVideoModeCode(bool playlist, RandomSource& random);
};
