#include "icofile.h"

#include <QBuffer>
#include <QImageWriter>
#include <QSaveFile>
#include <QtEndian>

namespace ImageGen {

namespace {

const int DirectorySize = 6;
const int EntrySize = 16;
const int EntryOffsetField = 12; // where an entry keeps the offset of its image data
const int EntrySizeField = 8;    // where an entry keeps the length of its image data

struct IconEntry
{
    QByteArray header; // the entry's first 12 bytes: size, colours, planes, bits, data length
    QByteArray data;
};

quint32 readUInt32(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

void appendUInt16(QByteArray &bytes, quint16 value)
{
    char buffer[2];
    qToLittleEndian(value, buffer);
    bytes.append(buffer, 2);
}

void appendUInt32(QByteArray &bytes, quint32 value)
{
    char buffer[4];
    qToLittleEndian(value, buffer);
    bytes.append(buffer, 4);
}

// Qt's encoder leaves the padding at the end of each row of the transparency mask
// uninitialised; zeroing it makes the output identical from run to run.
void clearMaskPadding(QByteArray &bitmap)
{
    const int headerSize = int(readUInt32(bitmap, 0));
    const int width = int(readUInt32(bitmap, 4));
    const int height = int(readUInt32(bitmap, 8)) / 2; // colours and mask are counted together
    const int bitsPerPixel = qFromLittleEndian<quint16>(bitmap.constData() + 14);
    if (bitsPerPixel != 32)
        return;
    const int maskStart = headerSize + width * height * 4;
    const int maskRowSize = (width + 31) / 32 * 4;
    const int usedBytes = (width + 7) / 8;
    for (int row = 0; row < height; ++row) {
        for (int i = usedBytes; i < maskRowSize; ++i) {
            const int offset = maskStart + row * maskRowSize + i;
            if (offset < bitmap.size())
                bitmap[offset] = 0;
        }
    }
}

bool encodeEntry(const QImage &image, IconEntry *entry)
{
    QByteArray single;
    QBuffer buffer(&single);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "ico");
    if (!writer.write(image)) {
        qWarning("Cannot encode a %dx%d icon: %s", image.width(), image.height(),
                 qPrintable(writer.errorString()));
        return false;
    }
    if (single.size() < DirectorySize + EntrySize) {
        qWarning("The icon encoder wrote a truncated file.");
        return false;
    }
    const int entryStart = DirectorySize;
    const quint32 dataOffset = readUInt32(single, entryStart + EntryOffsetField);
    const quint32 dataLength = readUInt32(single, entryStart + EntrySizeField);
    if (dataOffset + dataLength > quint32(single.size())) {
        qWarning("The icon encoder wrote an inconsistent file.");
        return false;
    }
    entry->header = single.mid(entryStart, EntryOffsetField);
    entry->data = single.mid(int(dataOffset), int(dataLength));
    clearMaskPadding(entry->data);
    return true;
}

QByteArray assemble(const QVector<IconEntry> &entries)
{
    QByteArray file;
    appendUInt16(file, 0); // reserved
    appendUInt16(file, 1); // type: icon
    appendUInt16(file, quint16(entries.size()));
    quint32 dataOffset = DirectorySize + EntrySize * entries.size();
    for (const IconEntry &entry : entries) {
        file.append(entry.header);
        appendUInt32(file, dataOffset);
        dataOffset += quint32(entry.data.size());
    }
    for (const IconEntry &entry : entries)
        file.append(entry.data);
    return file;
}

} // namespace

bool writeIconFile(const QString &filePath, const QVector<QImage> &images)
{
    QVector<IconEntry> entries;
    for (const QImage &image : images) {
        IconEntry entry;
        if (!encodeEntry(image, &entry))
            return false;
        entries.append(entry);
    }
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(assemble(entries)) < 0 || !file.commit()) {
        qWarning("Cannot write %s: %s", qPrintable(filePath), qPrintable(file.errorString()));
        return false;
    }
    return true;
}

} // namespace ImageGen
