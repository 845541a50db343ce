#include "BodyCopy.h"

#include "FlvWriter.h"

namespace flvmdi {

BodyCopy::BodyCopy(int input, uint64_t inputSize, int output, uint64_t from, uint64_t to)
    : from_(from), to_(to), thread_(&BodyCopy::run, this, input, inputSize, output) {}

BodyCopy::~BodyCopy() {
    abandon();
}

void BodyCopy::run(int input, uint64_t inputSize, int output) {
    try {
        FlvWriter writer(input, inputSize, output, to_);
        writer.setStopFlag(&stop_);
        writer.copy(from_, inputSize - from_);
        writer.flush();
        directBytes_ = writer.directBytes();
    } catch (const FlvWriter::Stopped&) {
        // Abandoned: nobody reads the result.
    } catch (...) {
        error_ = std::current_exception();
    }
}

uint64_t BodyCopy::finish() {
    if (thread_.joinable())
        thread_.join();
    if (error_)
        std::rethrow_exception(error_);
    return directBytes_;
}

void BodyCopy::abandon() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
}

}  // namespace flvmdi
