#include "SwfWriter.h"

#include <QtEndian>
#include <bit>
#include <initializer_list>

namespace {

constexpr int TagEnd = 0;
constexpr int TagShowFrame = 1;
constexpr int TagSetBackgroundColor = 9;
constexpr int HeaderSize = 8;  // signature, version and the file length

QByteArray littleEndian16(quint16 value) {
    QByteArray bytes(2, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray littleEndian32(quint32 value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// Bits are packed from the most significant bit of each byte on; the last byte is padded.
class BitPacker {
  public:
    void put(quint32 value, int bits) {
        for (int i = bits - 1; i >= 0; --i) {
            if (used_ % 8 == 0)
                bytes_.append('\0');
            if ((value >> i) & 1U)
                bytes_[bytes_.size() - 1] = char(bytes_.back() | (0x80 >> (used_ % 8)));
            ++used_;
        }
    }
    QByteArray bytes() const { return bytes_; }

  private:
    QByteArray bytes_;
    int used_ = 0;
};

}  // namespace

QByteArray SwfWriter::emptyMovie(QSize stagePixels, const QColor& background) {
    QByteArray body =
        rect(stagePixels.width() * TwipsPerPixel, stagePixels.height() * TwipsPerPixel);
    body += littleEndian16(quint16(FrameRate << 8));  // 8.8 fixed point
    body += littleEndian16(1);                        // frame count
    const char rgb[] = {char(background.red()), char(background.green()), char(background.blue())};
    body += tag(TagSetBackgroundColor, QByteArray(rgb, 3));
    body += tag(TagShowFrame, {});
    body += tag(TagEnd, {});

    QByteArray movie("FWS");
    movie += char(Version);
    movie += littleEndian32(quint32(HeaderSize + body.size()));
    return movie + body;
}

QByteArray SwfWriter::rect(int widthTwips, int heightTwips) {
    // Signed fields: one bit more than the largest magnitude needs.
    const int bits = int(std::bit_width(quint32(qMax(widthTwips, heightTwips)))) + 1;
    BitPacker packer;
    packer.put(quint32(bits), 5);
    for (int value : {0, widthTwips, 0, heightTwips})
        packer.put(quint32(value), bits);
    return packer.bytes();
}

QByteArray SwfWriter::tag(int code, const QByteArray& body) {
    // Short tag header: code in the upper ten bits, length (< 63) in the lower six.
    Q_ASSERT(body.size() < 63);
    return littleEndian16(quint16((code << 6) | int(body.size()))) + body;
}
