#pragma once
// Plays an enhanced-metafile (EMF) record stream, as written by TEmfCanvas, onto a QPainter. The stream
// is checked completely when the player is made: every record's size, counts and offsets (with
// libUEMF's safety checks and our own), the header first, the end record last and the object handles
// it uses. A stream that fails any check is refused with EEmfError; playing never reads outside it.
// Records that only set state the player has no use for are skipped.

#include <QByteArray>
#include <QRect>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QTransform>

#include <cstdint>
#include <stdexcept>
#include <vector>

class QPainter;

class EEmfError : public std::runtime_error {
public:
    // The message is "The page is not a valid enhanced metafile: " + reason.
    explicit EEmfError(const QString& reason);
};

struct TEmfHeader {
    QRect Bounds;              // device units, inclusive
    QRect Frame;               // hundredths of a millimetre, inclusive
    QSize DevicePixels;        // reference device
    QSize DeviceMillimeters;   // reference device
    QSize DeviceMicrometers;   // reference device; empty in old headers
    std::uint32_t Bytes = 0;   // stream length
    std::uint32_t Records = 0; // records, header and end record included
    std::uint16_t Handles = 0; // object table size, slot 0 reserved
    QString Description;
};

class TEmfPlayer {
public:
    explicit TEmfPlayer(QByteArray stream);

    const TEmfHeader& Header() const { return FHeader; }
    // Record types in stream order.
    const std::vector<std::uint32_t>& RecordTypes() const { return FTypes; }
    // Page units (logical units of the reference device) per inch.
    double UnitsPerInch() const;
    // The frame in page units.
    QSizeF PageSize() const;

    // Draws the page; pageToDevice maps page units to the painter's coordinates.
    void Play(QPainter& painter, const QTransform& pageToDevice) const;

private:
    struct TRecord {
        std::uint32_t Offset;
        std::uint32_t Size;
        std::uint32_t Type;
    };
    void Parse();

    QByteArray FStream;
    TEmfHeader FHeader;
    std::vector<TRecord> FRecords;
    std::vector<std::uint32_t> FTypes;
};
