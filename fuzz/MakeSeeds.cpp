// Writes the seed inputs of the fuzz targets with the project's own writers:
//   fuzz_make_seeds <testdata/fuzz>
// The RAW seed is laid out by hand, as a camera writes it (the program only reads RAW files).

#include "frames/CfgFileInfo.h"
#include "frames/ColorCoefficientFile.h"
#include "frames/Dib.h"
#include "frames/LutParamSetList.h"
#include "frames/tests/SequenceFiles.h"
#include "fuzz/FuzzSupport.h"
#include "platform/framework/File.h"
#include "platform/media/tests/TestAviWriter.h"
#include "platform/registry/Hive.h"
#include "platform/registry/Registry.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Put(const QString& folder, const QString& name, const QByteArray& bytes) {
    QDir().mkpath(folder);
    QFile file(folder + "/" + name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
    file.write(bytes);
}

QByteArray Bmp(int width, int height, int bits) {
    std::vector<BYTE> pixels(static_cast<size_t>(width * height * ((bits + 7) / 8)));
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<BYTE>(i * 37);
    CDib dib;
    dib.Create(pixels.data(), width, height, bits);
    const QString path = FuzzFile(nullptr, 0, QStringLiteral("seed.bmp"));
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite);
        dib.WriteBmp(file);
    }
    return ReadAll(path);
}

void Le32(QByteArray* bytes, int at, int32_t value) {
    for (int i = 0; i < 4; ++i)
        (*bytes)[at + i] = static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
}

QByteArray Raw(int frames, int width, int height, int bits) {
    QByteArray bytes(72, '\0');
    std::memcpy(bytes.data(), "OP05", 4);
    Le32(&bytes, 8, frames);
    Le32(&bytes, 12, width);
    Le32(&bytes, 16, height);
    Le32(&bytes, 20, -2);
    Le32(&bytes, 24, 72);
    Le32(&bytes, 28, bits);
    Le32(&bytes, 68, 500);
    for (int i = 0; i < frames * width * height * bits / 8; ++i)
        bytes.append(static_cast<char>(i * 13));
    return bytes;
}

QByteArray Cfg(bool stamped) {
    CCfgFileInfo info;
    info.m_name = QStringLiteral("seed");
    info.m_rate = 250;
    info.m_rateHz = 250.0;
    info.m_firstFrame = -10;
    info.m_exposureNs = 4000;
    info.m_framesPerBatch = 8;
    if (stamped) {
        info.m_hasTimeStamp = 1;
        info.m_year = 2024;
        info.m_month = 2;
        info.m_day = 29;
        info.m_msOfDay = 3600000;
        info.m_refFrame = 5;
    }
    const QString path = FuzzFile(nullptr, 0, QStringLiteral("seed.cfg"));
    info.Save(path);
    return ReadAll(path);
}

QByteArray MovieSettings(int pairs) {
    CLutParamSetList list;
    list.SetName(QStringLiteral("BL"));
    list.Init(CLutParamSetList::kPerFrame, pairs, pairs > 0 ? 2 : 0, CLutParamSet());
    for (int i = 0; i < pairs; ++i) {
        CLutParamSet set;
        set.SetBrightness(0, 10 * i);
        set.SetGamma(0, 1.5);
        list.SetItem(i, i % 2, set);
    }
    const QString path = FuzzFile(nullptr, 0, QStringLiteral("seed.prj"));
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite);
        list.WriteToFile(file);
    }
    return ReadAll(path);
}

QByteArray Hive() {
    const QString path = FuzzFile(nullptr, 0, QStringLiteral("seed.reg"));
    QFile::remove(path);
    CHive hive(path, QStringLiteral("HKEY_CURRENT_USER"));
    const QStringList key = {QStringLiteral("Software"), QStringLiteral("Reelmark"),
                             QStringLiteral("Settings")};
    hive.SetValue(key, QStringLiteral("Count"), REG_DWORD, QByteArray("\x05\0\0\0", 4));
    hive.SetValue(key, QStringLiteral("Name"), REG_SZ,
                  RegStringData(QStringLiteral("Mess\u00B01")));
    hive.SetValue(key + QStringList{QStringLiteral("Deeper")}, QStringLiteral("Blob"), REG_BINARY,
                  QByteArray("\x01\x02\x03", 3));
    hive.Save();
    return ReadAll(path);
}

QByteArray Rect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    QByteArray bytes(16, '\0');
    Le32(&bytes, 0, left);
    Le32(&bytes, 4, top);
    Le32(&bytes, 8, right);
    Le32(&bytes, 12, bottom);
    return bytes;
}

QByteArray ColorCoefficientsFile() {
    ColorCoefficients rows;
    const float values[3][3] = {{281, -64, -26}, {-64, 256, -26}, {-64, -64, 717}};
    std::memcpy(rows.rows, values, sizeof values);
    const QString path = FuzzFile(nullptr, 0, QStringLiteral("seed.clr"));
    WriteColorCoefficients(path, rows);
    return ReadAll(path);
}

QByteArray Avi(TestAviKind kind) {
    const QString path = FuzzFile(nullptr, 0, QStringLiteral("seed.avi"));
    WriteTestAvi(path, {kind, 6, 4, 3, 0});
    return ReadAll(path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_make_seeds <testdata/fuzz>\n");
        return 2;
    }
    FuzzInit();
    const QString root = QString::fromLocal8Bit(argv[1]);
    Put(root + "/dib_bmp", "seed-8bit.bmp", Bmp(5, 3, 8));
    Put(root + "/dib_bmp", "seed-24bit.bmp", Bmp(4, 2, 24));
    Put(root + "/dib_bmp", "seed-32bit.bmp", Bmp(3, 3, 32));
    Put(root + "/raw_recording", "seed-8bit.raw", Raw(3, 4, 3, 8));
    Put(root + "/raw_recording", "seed-16bit.raw", Raw(2, 3, 2, 16));
    Put(root + "/cfg_file", "seed-plain.cfg", Cfg(false));
    Put(root + "/cfg_file", "seed-stamped.cfg", Cfg(true));
    Put(root + "/movie_settings", "seed-empty.prj", MovieSettings(0));
    Put(root + "/movie_settings", "seed-three.prj", MovieSettings(3));
    Put(root + "/registry_hive", "seed.reg", Hive());
    Put(root + "/mimage_dib", "seed-inside.bin", Rect(1, 0, 3, 1) + Bmp(5, 3, 8));
    Put(root + "/mimage_dib", "seed-overlapping.bin", Rect(-2, 1, 1, 4) + Bmp(4, 2, 24));
    const struct {
        const char* folder;
        const char* name;
        SequenceImageKind kind;
    } sequences[] = {
        {"image_sequence_bmp", "seed-8bit.bmp", SequenceImageKind::kBmp8},
        {"image_sequence_bmp", "seed-24bit.bmp", SequenceImageKind::kBmp24},
        {"image_sequence_tif", "seed-grey8.tif", SequenceImageKind::kTiffGrey8},
        {"image_sequence_tif", "seed-grey16.tif", SequenceImageKind::kTiffGrey16},
        {"image_sequence_tif", "seed-grey16-bottom-up.tif", SequenceImageKind::kTiffGrey16BottomUp},
        {"image_sequence_tif", "seed-rgb8.tif", SequenceImageKind::kTiffRgb8},
        {"image_sequence_tif", "seed-rgb16.tif", SequenceImageKind::kTiffRgb16},
        {"image_sequence_jpg", "seed-grey.jpg", SequenceImageKind::kJpegGrey},
        {"image_sequence_jpg", "seed-colour.jpg", SequenceImageKind::kJpegColour},
    };
    for (const auto& s : sequences)
        Put(root + "/" + s.folder, s.name, SequenceImageBytes(s.kind, 7, 5, 1));
    Put(root + "/color_coefficients", "seed.clr", ColorCoefficientsFile());
    Put(root + "/avi_series", "seed-rgb.avi", Avi(TestAviKind::RawBgr24));
    Put(root + "/avi_series", "seed-pal8.avi", Avi(TestAviKind::RawPal8));
    return 0;
}
