// The user's extended attributes ("user.*": tags, notes, where a file came from) go with the video
// into the new file that replaces it, as the data does. Other name spaces stay behind: "security."
// and "trusted." ones are the system's to give, and a capability would not survive the change of
// owner anyway. The injector's own stamp is not copied: it describes the old file and is written
// afresh for the new one (see InjectionStamp).
#pragma once

namespace flvmdi {

class ExtendedAttributes {
  public:
    // A file system that keeps no extended attributes has none to copy and is no failure; any
    // other refusal throws IoError, before the new file replaces the video.
    static void copyUser(int from, int to);
};

}  // namespace flvmdi
