#include "FlvReader.h"

#include <string>

namespace flvmdi {

namespace {

std::string at(uint64_t offset) {
    return " at byte " + std::to_string(offset);
}

}  // namespace

FlvReader::FlvReader(ByteSource& source) : source_(source), size_(source.size()) {}

std::span<const uint8_t> FlvReader::bytesAt(uint64_t offset, size_t n) {
    return window(offset, n);
}

const FlvHeader& FlvReader::readHeader() {
    if (size_ == 0)
        throw FlvError("the file is empty");
    const auto h = window(0, kFileHeaderSize);
    if (h.size() < 3 || h[0] != 'F' || h[1] != 'L' || h[2] != 'V') {
        const auto box = window(4, 4);
        if (box.size() == 4 && box[0] == 'f' && box[1] == 't' && box[2] == 'y' && box[3] == 'p')
            throw FlvError("not an FLV file (it is an MP4 or QuickTime file)");
        throw FlvError("not an FLV file (it does not start with \"FLV\")");
    }
    if (h.size() < kFileHeaderSize)
        throw FlvError("the file is truncated inside the FLV header");
    header_.version = h[3];
    header_.flags = h[4];
    header_.dataOffset = readBe32(&h[5]);
    if (header_.version != 1)
        throw FlvError("unsupported FLV version " + std::to_string(header_.version));
    if (header_.dataOffset < kFileHeaderSize || header_.dataOffset > 1024)
        throw FlvError("corrupt FLV header (data offset " + std::to_string(header_.dataOffset) +
                       ")");
    if (header_.firstTagOffset() > size_)
        throw FlvError("the file is truncated inside the FLV header");
    position_ = header_.firstTagOffset();
    return header_;
}

size_t FlvReader::headSize(const FlvTag& tag) {
    const size_t full = std::min<size_t>(tag.dataSize, kHeadLimit);
    if (tag.type == kTagScript || full <= kCodecHeadLimit)
        return full;
    const auto first = window(position_ + kTagHeaderSize, 2);
    if (first.size() < 2)
        return kCodecHeadLimit;  // the file became shorter; next() reports it
    const bool avcConfiguration = tag.type == kTagVideo && (first[0] & 0x0F) == kVideoCodecAvc &&
                                  first[1] == kAvcSequenceHeader;
    return avcConfiguration ? full : kCodecHeadLimit;
}

std::optional<FlvTag> FlvReader::next() {
    if (position_ == size_)
        return std::nullopt;
    FlvTag tag;
    tag.offset = position_;
    const auto h = window(position_, kTagHeaderSize);
    if (h.size() < kTagHeaderSize)
        throw FlvError("the file is truncated inside the tag header" + at(position_));
    tag.type = h[0] & 0x1F;
    tag.filtered = (h[0] & 0x20) != 0;
    if ((h[0] & 0xC0) != 0 ||
        (tag.type != kTagAudio && tag.type != kTagVideo && tag.type != kTagScript))
        throw FlvError("corrupt tag" + at(position_) + " (type byte " + std::to_string(h[0]) + ")");
    tag.dataSize = readBe24(&h[1]);
    tag.timestamp = readBe24(&h[4]) | uint32_t(h[7]) << 24;
    tag.streamId = readBe24(&h[8]);
    if (tag.end() > size_)
        throw FlvError("the file is truncated or corrupt: the tag" + at(position_) + " needs " +
                       std::to_string(tag.totalSize()) + " bytes, only " +
                       std::to_string(size_ - position_) + " remain");
    // The head is kept aside before the trailer is read: behind a payload larger than a buffered
    // source's window, reading the trailer moves the window on, and the next tag header is then
    // already in it rather than a window behind.
    const size_t headLength = headSize(tag);
    const auto head = window(position_ + kTagHeaderSize, headLength);
    head_.assign(head.begin(), head.end());
    tag.head = head_;
    const auto trailer = window(position_ + kTagHeaderSize + tag.dataSize, kTagTrailerSize);
    // Short only when the file became shorter while it was read.
    if (head_.size() < headLength || trailer.size() < kTagTrailerSize)
        throw FlvError("the file is truncated" + at(position_) + " (it became shorter)");
    tag.previousTagSize = readBe32(trailer.data());
    position_ = tag.end();
    return tag;
}

}  // namespace flvmdi
