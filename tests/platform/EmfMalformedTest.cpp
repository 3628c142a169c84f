// Damaged EMF streams: each is refused with a message naming the fault, and no damage makes the player
// read outside the stream (run under the address sanitizer too).

#include "EmfTestSupport.h"

#include <uemf.h>

#include <cmath>
#include <cstddef>
#include <functional>
#include <random>
#include <string>

namespace {

const QByteArray& Valid() {
    static const QByteArray page = SamplePage();
    return page;
}

TRawRecord First(const QByteArray& bytes, std::uint32_t type) {
    for (const TRawRecord& r : RawRecords(bytes))
        if (r.Type == type) return r;
    ADD_FAILURE() << "no record of type " << type;
    return TRawRecord{0, 0, 0};
}

void SetHeaderField(QByteArray& bytes, std::size_t offset, std::uint32_t value) {
    SetU32(bytes, static_cast<std::uint32_t>(offset), value);
}

// The STRETCHDIBITS record and its bitmap header.
std::uint32_t PictureField(const QByteArray& bytes, std::size_t field) {
    return First(bytes, U_EMR_STRETCHDIBITS).Offset + static_cast<std::uint32_t>(field);
}

std::uint32_t BitmapHeaderField(const QByteArray& bytes, std::size_t field) {
    const TRawRecord r = First(bytes, U_EMR_STRETCHDIBITS);
    return r.Offset + U32At(bytes, r.Offset + offsetof(U_EMRSTRETCHDIBITS, offBmiSrc)) +
           static_cast<std::uint32_t>(field);
}

std::uint32_t TextField(const QByteArray& bytes, std::size_t field) {
    return First(bytes, U_EMR_EXTTEXTOUTW).Offset + offsetof(U_EMREXTTEXTOUTW, emrtext) +
           static_cast<std::uint32_t>(field);
}

struct TDamage {
    const char* Name;
    std::function<void(QByteArray&)> Apply;
    const char* Reason; // part of the message
};

} // namespace

TEST(EmfMalformed, EachDamageIsRefusedWithItsReason) {
    const TDamage damages[] = {
        {"empty", [](QByteArray& b) { b.clear(); }, "holds only 0 bytes"},
        {"four bytes", [](QByteArray& b) { b.truncate(4); }, "holds only 4 bytes"},
        {"first record not a header", [](QByteArray& b) { SetU32(b, 0, U_EMR_LINETO); },
         "does not start with a header"},
        {"header size too small", [](QByteArray& b) { SetU32(b, 4, 40); },
         "header record has an invalid size"},
        {"header size past the data", [](QByteArray& b) { SetU32(b, 4, 0x7FFFFFF0); },
         "header record has an invalid size"},
        {"no signature",
         [](QByteArray& b) { SetHeaderField(b, offsetof(U_EMRHEADER, dSignature), 0x12345678); },
         "no EMF signature"},
        {"truncated", [](QByteArray& b) { b.chop(24); }, "it is truncated"},
        {"total smaller than the header",
         [](QByteArray& b) { SetHeaderField(b, offsetof(U_EMRHEADER, nBytes), 16); },
         "declares a total of only"},
        {"description outside the header",
         [](QByteArray& b) { SetHeaderField(b, offsetof(U_EMRHEADER, nDescription), 0x40000000); },
         "description lies outside"},
        {"no reference device", [](QByteArray& b) { SetHeaderField(b, offsetof(U_EMRHEADER, szlDevice), 0); },
         "no size of the reference"},
        {"record count wrong",
         [](QByteArray& b) {
             SetHeaderField(b, offsetof(U_EMRHEADER, nRecords),
                            U32At(b, offsetof(U_EMRHEADER, nRecords)) + 1);
         },
         "records, the stream holds"},
        {"record size not a multiple of four",
         [](QByteArray& b) { SetU32(b, RawRecords(b)[2].Offset + 4, 13); }, "invalid size of 13"},
        {"record size zero", [](QByteArray& b) { SetU32(b, RawRecords(b)[2].Offset + 4, 0); },
         "invalid size of 0"},
        {"record size past the end",
         [](QByteArray& b) { SetU32(b, RawRecords(b)[2].Offset + 4, 0x00100000); }, "runs past the end"},
        {"unknown record type", [](QByteArray& b) { SetU32(b, RawRecords(b)[1].Offset, 999); },
         "unknown type 999"},
        {"second header", [](QByteArray& b) { SetU32(b, RawRecords(b)[1].Offset, U_EMR_HEADER); },
         "second header"},
        {"record too short for its type",
         [](QByteArray& b) { SetU32(b, First(b, U_EMR_CREATEPEN).Offset, U_EMR_EXTCREATEFONTINDIRECTW); },
         "too short for its type"},
        {"end record missing", [](QByteArray& b) { SetU32(b, RawRecords(b).back().Offset, U_EMR_SETBKMODE); },
         "end-of-file record is missing"},
        {"bytes after the end record",
         [](QByteArray& b) {
             b.append(8, '\0');
             SetHeaderField(b, offsetof(U_EMRHEADER, nBytes), static_cast<std::uint32_t>(b.size()));
         },
         "8 bytes follow the end-of-file record"},
        {"palette outside the end record",
         [](QByteArray& b) { SetU32(b, RawRecords(b).back().Offset + 8, 0x10000000); },
         "palette entries outside"},
        {"object created outside the table",
         [](QByteArray& b) { SetU32(b, First(b, U_EMR_CREATEPEN).Offset + 8, 1000); },
         "outside the object table"},
        {"selecting an object never created",
         [](QByteArray& b) { SetU32(b, First(b, U_EMR_SELECTOBJECT).Offset + 8, 3); },
         "which does not exist"},
        {"selecting an unknown stock object",
         [](QByteArray& b) { SetU32(b, First(b, U_EMR_SELECTOBJECT).Offset + 8, 0x80000063); },
         "unknown stock object"},
        {"deleting an object never created",
         [](QByteArray& b) { SetU32(b, First(b, U_EMR_DELETEOBJECT).Offset + 8, 7); },
         "which does not exist"},
        {"text count beyond the record",
         [](QByteArray& b) { SetU32(b, TextField(b, offsetof(U_EMRTEXT, nChars)), 0x40000000); },
         "run outside the record"},
        {"text offset beyond the record",
         [](QByteArray& b) { SetU32(b, TextField(b, offsetof(U_EMRTEXT, offString)), 0xFFFFFFF0); },
         "run outside the record"},
        {"spacing offset beyond the record",
         [](QByteArray& b) {
             const std::uint32_t options = TextField(b, offsetof(U_EMRTEXT, fOptions));
             SetU32(b, options, U32At(b, options) | U_ETO_NO_RECT);
             SetU32(b, First(b, U_EMR_EXTTEXTOUTW).Offset + sizeof(U_EMREXTTEXTOUTW), 0xFFFFFFF8);
         },
         "character spacing outside"},
        {"bitmap header offset out of range",
         [](QByteArray& b) {
             SetU32(b, PictureField(b, offsetof(U_EMRSTRETCHDIBITS, offBmiSrc)), 0xFFFFFF00);
         },
         "picture header outside"},
        {"bitmap pixels offset out of range",
         [](QByteArray& b) {
             SetU32(b, PictureField(b, offsetof(U_EMRSTRETCHDIBITS, offBitsSrc)), 0xFFFFFFF0);
         },
         "pixels outside"},
        {"bitmap pixels too few for its height",
         [](QByteArray& b) { SetU32(b, BitmapHeaderField(b, offsetof(U_BITMAPINFOHEADER, biHeight)), 5000); },
         "pixels outside"},
        {"bitmap of 8 bits per pixel",
         [](QByteArray& b) {
             const std::uint32_t at = BitmapHeaderField(b, offsetof(U_BITMAPINFOHEADER, biPlanes));
             SetU32(b, at, 1u | (8u << 16)); // biPlanes 1, biBitCount 8
         },
         "unsupported format (8 bits per pixel"},
        {"bitmap of a huge width",
         [](QByteArray& b) {
             SetU32(b, BitmapHeaderField(b, offsetof(U_BITMAPINFOHEADER, biWidth)), 0x7FFFFFFF);
         },
         "invalid dimensions"},
        {"bitmap colour count beyond the header",
         [](QByteArray& b) {
             SetU32(b, BitmapHeaderField(b, offsetof(U_BITMAPINFOHEADER, biClrUsed)), 0x40000000);
         },
         "header of an invalid size"},
        {"bitmap source outside the picture",
         [](QByteArray& b) { SetU32(b, PictureField(b, offsetof(U_EMRSTRETCHDIBITS, cSrc)), 3); },
         "source rectangle outside"},
    };
    for (const TDamage& d : damages) {
        SCOPED_TRACE(d.Name);
        QByteArray bytes = Valid();
        d.Apply(bytes);
        try {
            const TEmfPlayer player(bytes);
            ADD_FAILURE() << "accepted";
        } catch (const EEmfError& e) {
            const std::string message = e.what();
            EXPECT_EQ(message.rfind("The page is not a valid enhanced metafile: ", 0), 0u) << message;
            EXPECT_NE(message.find(d.Reason), std::string::npos) << message;
        }
    }
}

TEST(EmfMalformed, TheSampleItselfIsValid) {
    EXPECT_NO_THROW(TEmfPlayer{Valid()});
}

TEST(EmfMalformed, ExtremeHeaderRectanglesAreHarmless) {
    QByteArray bytes = Valid();
    for (const std::size_t field : {offsetof(U_EMRHEADER, rclBounds), offsetof(U_EMRHEADER, rclFrame)}) {
        SetHeaderField(bytes, field, 0x80000000);      // left
        SetHeaderField(bytes, field + 8, 0x7FFFFFFF);  // right
        SetHeaderField(bytes, field + 4, 0x7FFFFFFF);  // top
        SetHeaderField(bytes, field + 12, 0x80000000); // bottom
    }
    const TEmfPlayer player(bytes);
    EXPECT_TRUE(std::isfinite(player.PageSize().width()));
    EXPECT_TRUE(std::isfinite(player.PageSize().height()));
}

TEST(EmfMalformed, EveryTruncationIsRefused) {
    const QByteArray& valid = Valid();
    for (qsizetype n = 0; n < valid.size(); ++n)
        EXPECT_THROW(TEmfPlayer{valid.left(n)}, EEmfError)
            << "kept " << n << " of " << valid.size() << " bytes";
}

namespace {

// Parses the stream; when it is accepted, plays it onto a small image. Either way it must not crash.
void ParseAndPlay(const QByteArray& bytes, int& accepted) {
    try {
        const TEmfPlayer player(bytes);
        ++accepted;
        QImage image(48, 36, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        player.Play(painter, QTransform::fromScale(0.12, 0.12));
    } catch (const EEmfError&) {
    }
}

} // namespace

TEST(EmfMalformed, CorruptedWordsNeverCrashTheParserOrThePlayer) {
    const QByteArray& valid = Valid();
    const std::uint32_t patterns[] = {
        0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFFFFF8, static_cast<std::uint32_t>(valid.size())};
    int accepted = 0;
    for (qsizetype offset = 0; offset + 4 <= valid.size(); offset += 4)
        for (const std::uint32_t p : patterns) {
            QByteArray bytes = valid;
            SetU32(bytes, static_cast<std::uint32_t>(offset), p);
            ParseAndPlay(bytes, accepted);
        }
    // Words the player does not depend on (colours, coordinates, spare fields) leave a valid stream.
    RecordProperty("accepted", accepted);
    EXPECT_GT(accepted, 0);
}

TEST(EmfMalformed, RandomByteDamageNeverCrashesTheParserOrThePlayer) {
    const QByteArray& valid = Valid();
    std::mt19937 random(20240611);
    std::uniform_int_distribution<qsizetype> position(0, valid.size() - 1);
    std::uniform_int_distribution<int> value(0, 255);
    std::uniform_int_distribution<int> count(1, 6);
    int accepted = 0;
    for (int i = 0; i < 3000; ++i) {
        QByteArray bytes = valid;
        for (int k = count(random); k > 0; --k)
            bytes[position(random)] = static_cast<char>(value(random));
        ParseAndPlay(bytes, accepted);
    }
    RecordProperty("accepted", accepted);
    EXPECT_GT(accepted, 0);
}
