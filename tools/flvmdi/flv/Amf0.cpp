#include "Amf0.h"

#include <bit>
#include <string>

#include "FlvFormat.h"

namespace flvmdi::amf0 {

namespace {

[[noreturn]] void malformed(const std::string& what) {
    throw FlvError("malformed script data: " + what);
}

}  // namespace

const Value* Value::find(std::string_view key) const {
    for (size_t i = 0; i < keys.size() && i < items.size(); ++i)
        if (keys[i] == key)
            return &items[i];
    return nullptr;
}

const uint8_t* Reader::take(size_t n) {
    if (bytes_.size() - position_ < n)
        malformed("a value runs past the end of the tag");
    const uint8_t* p = bytes_.data() + position_;
    position_ += n;
    return p;
}

std::string Reader::takeString(size_t n) {
    const uint8_t* p = take(n);
    return std::string(reinterpret_cast<const char*>(p), n);
}

double Reader::readDouble() {
    const uint8_t* p = take(8);
    return std::bit_cast<double>(uint64_t(readBe32(p)) << 32 | readBe32(p + 4));
}

std::string Reader::readShortString() {
    return takeString(readBe16(take(2)));
}

// Objects and ECMA arrays are name/value lists closed by an empty name and the end marker. An
// ECMA array that simply stops at the end of the tag is accepted, as some encoders write them so.
void Reader::readProperties(Value& value, int depth) {
    for (;;) {
        if (value.marker == Marker::EcmaArray && atEnd())
            return;
        std::string name = readShortString();
        if (name.empty() && position_ < bytes_.size() &&
            bytes_[position_] == uint8_t(Marker::ObjectEnd)) {
            ++position_;
            return;
        }
        value.keys.push_back(std::move(name));
        value.items.push_back(readValue(depth + 1));
    }
}

Value Reader::readValue(int depth) {
    if (depth > kMaxDepth)
        malformed("values nested too deeply");
    if (++valueCount_ > kMaxValues)
        malformed("too many values");
    Value value;
    const uint8_t m = *take(1);
    value.marker = Marker(m);
    switch (value.marker) {
        case Marker::Number:
            value.number = readDouble();
            break;
        case Marker::Boolean:
            value.boolean = *take(1) != 0;
            break;
        case Marker::String:
            value.text = readShortString();
            break;
        case Marker::LongString:
        case Marker::XmlDocument:
            value.text = takeString(readBe32(take(4)));
            break;
        case Marker::Object:
            readProperties(value, depth);
            break;
        case Marker::TypedObject:
            value.text = readShortString();
            readProperties(value, depth);
            break;
        case Marker::EcmaArray:
            take(4);  // an approximate count only; the end marker closes the list
            readProperties(value, depth);
            break;
        case Marker::StrictArray: {
            const uint32_t count = readBe32(take(4));
            // Every value needs at least one byte, which bounds a lying count by the tag size.
            for (uint32_t i = 0; i < count; ++i)
                value.items.push_back(readValue(depth + 1));
            break;
        }
        case Marker::Date:
            value.number = readDouble();
            value.timeZone = int16_t(readBe16(take(2)));
            break;
        case Marker::Reference:
            value.reference = uint16_t(readBe16(take(2)));
            break;
        case Marker::Null:
        case Marker::Undefined:
        case Marker::Unsupported:
            break;
        default:
            malformed("unknown type marker " + std::to_string(m));
    }
    return value;
}

void Writer::be16(uint32_t v) {
    out_.push_back(uint8_t(v >> 8));
    out_.push_back(uint8_t(v));
}

void Writer::be32(uint32_t v) {
    be16(v >> 16);
    be16(v & 0xFFFF);
}

void Writer::number(double value) {
    marker(Marker::Number);
    const auto bits = std::bit_cast<uint64_t>(value);
    be32(uint32_t(bits >> 32));
    be32(uint32_t(bits));
}

void Writer::boolean(bool value) {
    marker(Marker::Boolean);
    out_.push_back(value ? 1 : 0);
}

void Writer::key(std::string_view name) {
    const size_t n = std::min<size_t>(name.size(), 0xFFFF);
    be16(uint32_t(n));
    out_.insert(out_.end(), name.begin(), name.begin() + n);
}

void Writer::string(std::string_view text) {
    marker(Marker::String);
    key(text);
}

void Writer::beginObject() {
    marker(Marker::Object);
}

void Writer::beginEcmaArray(uint32_t count) {
    marker(Marker::EcmaArray);
    be32(count);
}

void Writer::endObject() {
    be16(0);
    marker(Marker::ObjectEnd);
}

void Writer::beginStrictArray(uint32_t count) {
    marker(Marker::StrictArray);
    be32(count);
}

}  // namespace flvmdi::amf0
