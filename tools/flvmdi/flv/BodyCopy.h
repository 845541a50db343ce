// Copies the tags of the old file into the new one on a thread of its own while the scan is still
// reading them. Most of a first injection is writing the copy; starting it at the first tag that
// is kept, instead of after the scan, hides the scan behind the disk's work. The copy goes to a
// place chosen before the metadata size is known; the caller moves it afterwards (see
// io::shiftFront) or gives it up.
#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <thread>

namespace flvmdi {

class BodyCopy {
  public:
    // Starts copying input bytes [from, inputSize) to the output at offset `to`.
    BodyCopy(int input, uint64_t inputSize, int output, uint64_t from, uint64_t to);
    BodyCopy(const BodyCopy&) = delete;
    BodyCopy& operator=(const BodyCopy&) = delete;
    // Stops an unfinished copy and waits for its thread.
    ~BodyCopy();

    uint64_t from() const { return from_; }
    uint64_t to() const { return to_; }
    // Waits for the copy; throws its IoError. Returns the bytes written by direct I/O.
    uint64_t finish();
    // Stops the copy early and waits: its result is not wanted.
    void abandon();

  private:
    void run(int input, uint64_t inputSize, int output);

    uint64_t from_;
    uint64_t to_;
    std::atomic<bool> stop_{false};
    uint64_t directBytes_ = 0;
    std::exception_ptr error_;
    std::thread thread_;
};

}  // namespace flvmdi
