// AMF0, the encoding of FLV script tags: a value tree reader for the script data we meet and a
// writer for the tags we produce.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace flvmdi::amf0 {

enum class Marker : uint8_t {
    Number = 0,
    Boolean = 1,
    String = 2,
    Object = 3,
    MovieClip = 4,
    Null = 5,
    Undefined = 6,
    Reference = 7,
    EcmaArray = 8,
    ObjectEnd = 9,
    StrictArray = 10,
    Date = 11,
    LongString = 12,
    Unsupported = 13,
    XmlDocument = 15,
    TypedObject = 16,
};

struct Value {
    Marker marker = Marker::Null;
    double number = 0;  // Number; milliseconds of a Date
    bool boolean = false;
    int16_t timeZone = 0;  // Date
    uint16_t reference = 0;
    std::string text;               // String, LongString, XmlDocument; class name of a TypedObject
    std::vector<std::string> keys;  // Object, EcmaArray, TypedObject: keys[i] names items[i]
    std::vector<Value> items;

    const Value* find(std::string_view key) const;
};

class Reader {
  public:
    static constexpr int kMaxDepth = 64;
    static constexpr size_t kMaxValues = 1 << 20;

    explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    // Throws FlvError when the bytes are not a well-formed value.
    Value readValue() { return readValue(0); }
    // A UTF-8 string of the 16-bit-length form without its marker, as used for property names.
    std::string readShortString();
    bool atEnd() const { return position_ == bytes_.size(); }
    size_t position() const { return position_; }

  private:
    Value readValue(int depth);
    void readProperties(Value& value, int depth);
    const uint8_t* take(size_t n);
    std::string takeString(size_t n);
    double readDouble();

    std::span<const uint8_t> bytes_;
    size_t position_ = 0;
    size_t valueCount_ = 0;
};

class Writer {
  public:
    explicit Writer(std::vector<uint8_t>& out) : out_(out) {}
    void number(double value);
    void boolean(bool value);
    void string(std::string_view text);  // short form; longer text is cut at 65535 bytes
    void key(std::string_view name);
    void beginObject();
    void beginEcmaArray(uint32_t count);
    void endObject();
    void beginStrictArray(uint32_t count);

  private:
    void marker(Marker m) { out_.push_back(uint8_t(m)); }
    void be16(uint32_t v);
    void be32(uint32_t v);
    std::vector<uint8_t>& out_;
};

}  // namespace flvmdi::amf0
