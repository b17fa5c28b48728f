// Writes the seed inputs of the fuzz targets with the project's own writers:
//   fuzz_make_seeds <testdata/fuzz>
// The RAW, ".cih" and "_config.xsv" seeds are laid out by hand, as the cameras and their programs
// write them (the program only reads those files).

#include "app/SensorSettingsSheet.h"
#include "devices/DlgDeviceOptions.h"
#include "frames/CfgFileInfo.h"
#include "frames/ColorCoefficientFile.h"
#include "frames/Dib.h"
#include "frames/EvtInfo.h"
#include "frames/LutParamSetList.h"
#include "frames/tests/SequenceFiles.h"
#include "fuzz/FuzzSupport.h"
#include "groups/MeasurementFormDoc.h"
#include "groups/NotesFile.h"
#include "groups/RecordingNotes.h"
#include "platform/framework/Archive.h"
#include "platform/framework/File.h"
#include "platform/imaging/Bitmap.h"
#include "platform/imaging/Codecs.h"
#include "platform/imaging/ImageCodecs.h"
#include "platform/media/tests/TestAviWriter.h"
#include "platform/registry/Hive.h"
#include "platform/registry/Registry.h"
#include "sensordata/DataQNSensorDoc.h"
#include "shell/DlgOptionsAutoDown.h"
#include "shell/DlgSnapkeepOptions.h"
#include "tracking/AnalysisSettings.h"
#include "tracking/TrackFeatureSet.h"
#include "tracking/TrackOverlay.h"
#include "tracking/records/CalibrationData.h"
#include "tracking/records/FeatureStyle.h"
#include "tracking/records/TrackFeature.h"
#include "tracking/records/TrackPoint.h"
#include "tracking/records/TrackRegion.h"
#include "tracking/records/TrackSample.h"
#include "tracking/sectioned/SectionedList.h"
#include "tracking/tests/FakeRecording.h"
#include "views/AnnotateDoc.h"
#include "views/DrawArc.h"
#include "views/DrawBSpline.h"
#include "views/DrawDimAngle.h"
#include "views/DrawDimLength.h"
#include "views/DrawEllipse.h"
#include "views/DrawLine.h"
#include "views/DrawObjectTypes.h"
#include "views/DrawPolygon.h"
#include "views/DrawRect.h"
#include "views/DrawText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
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

// A ".lut" file of the look-up-table editor, built field by field (the editor's own writer
// lives in its module, whose parameter-set build must not meet the program's in one binary):
// colour set with a brightness per channel and gamma 2.0, default black-and-white set, every
// state flag on.
QByteArray LutSettingsFile() {
    QByteArray bytes(259, '\0');
    std::memcpy(bytes.data(), "LUTFILEv.1", 11);
    for (int set = 0; set < 2; ++set) {
        const int record = 11 + 104 * set;
        for (int channel = 0; channel < 3; ++channel) {
            Le32(&bytes, record + 20 + 4 * channel, set == 0 ? 10 * (channel + 1) : 0);
            const double gamma = set == 0 ? 2.0 : 1.0;
            uint64_t bits = 0;
            std::memcpy(&bits, &gamma, 8);
            Le32(&bytes, record + 48 + 8 * channel, static_cast<int32_t>(bits & 0xFFFFFFFF));
            Le32(&bytes, record + 52 + 8 * channel, static_cast<int32_t>(bits >> 32));
        }
        for (int scale = 100; scale < 103; ++scale)
            bytes[record + scale] = static_cast<char>(0xFF);
    }
    for (int flag = 0; flag < 8; ++flag)
        Le32(&bytes, 219 + 4 * flag, 1);
    return bytes;
}

QByteArray Annotations() {
    CAnnotateDoc doc;
    const auto add = [&doc](CDrawObject* object, int frame,
                            std::initializer_list<CDoublePoint> points) {
        int i = 0;
        for (const CDoublePoint& p : points)
            object->SetPoint(i++, p, TRUE, FALSE);
        object->SetFrame(frame);
        doc.GetObjectList()->push_back(object);
        return object;
    };
    static_cast<CDrawLine*>(add(new CDrawLine, -1, {{2, 3}, {30, 20}}))->SetArrowHead(TRUE);
    add(new CDrawRect, 0, {{5, 5}, {25, 18}})->SetFilled(FALSE);
    add(new CDrawEllipse, -3, {{10, 4}, {36, 28}});
    static_cast<CDrawPolygon*>(add(new CDrawPolygon, -1, {{1, 1}, {30, 2}, {16, 25}}))
        ->SetClosed(TRUE);
    add(new CDrawBSpline, 2, {{3, 20}, {12, 2}, {24, 26}, {35, 8}});
    auto* text = static_cast<CDrawText*>(add(new CDrawText, -1, {{4, 30}, {40, 30}}));
    text->SetText(QStringLiteral("Speed 5\u00B0"));
    text->SetFont(QStringLiteral("Sans"), -12, 150, TRUE, FALSE, TRUE, FALSE);
    auto* length =
        static_cast<CDrawDimLength*>(add(new CDrawDimLength, -1, {{4, 8}, {36, 8}, {4, 20}}));
    length->MovePoint(2, {4, 22}, FALSE);
    length->SetLabel(TRUE, QStringLiteral("gap"));
    add(new CDrawDimAngle, 1, {{30, 25}, {5, 25}, {20, 5}});
    static_cast<CDrawArc*>(add(new CDrawArc, -4, {{5, 15}, {35, 15}, {20, 3}}))
        ->SetArrowAtEnd(TRUE);
    const QString path = FuzzFile(nullptr, 0, QStringLiteral("seed.ant"));
    doc.SaveAnnotations(path, TRUE);
    return ReadAll(path);
}

// The measurement overlays, each as the editor would leave it.
QByteArray OverlayAnnotations() {
    CAnnotateDoc doc;
    for (int type = 10; type <= 16; ++type) {
        CDrawObject* object = DrawObjectTypes::CreateOfType(type);
        object->SetPoint(0, {2.0 * type, 10.0}, TRUE, FALSE);
        object->SetPoint(1, {2.0 * type + 20.0, 30.0}, TRUE, FALSE);
        object->SetFrame(type - 10);
        if (auto* text = dynamic_cast<CDrawText*>(object))
            text->SetText(QStringLiteral("Goto"));
        doc.GetObjectList()->push_back(object);
    }
    const QString path = FuzzFile(nullptr, 0, QStringLiteral("overlays.ant"));
    doc.SaveAnnotations(path, TRUE);
    return ReadAll(path);
}

QByteArray PlayGroup() {
    const QString path = FuzzFile(nullptr, 0, QStringLiteral("seed.playgrp"));
    CMeasurementFormDoc group;
    const QString folder = QFileInfo(path).path();
    for (const char* member : {"a.raw", "sub/c.raw"})
        group.AddVideoEntry(CFrameSourcePtr(), CMeasurementFormDoc::kFromFile,
                            folder + "/" + member);
    group.AddDataEntry(CMemberDataRef(), CMeasurementFormDoc::kFromFile, folder + "/sub/b.mdat");
    group.WritePlayGroupFile(path);
    return ReadAll(path);
}

// Side files of a noted video and of a noted data recording.
QByteArray Notes(int kind) {
    const QString recording =
        FuzzFile(nullptr, 0, kind == 2 ? QStringLiteral("seed.mdat") : "seed.avi");
    CRecordingNotes notes;
    notes.ResetAll(16, 64);
    notes.SetFrameNote(2, "frame two");
    notes.SetFrameNote(9, "frame nine");
    notes.SetDataNote(40, "scan forty");
    notes.SetGlobalNote("the whole run");
    CNotesFile().SaveNotes(recording, notes, kind);
    return ReadAll(CNotesFile::SidePath(recording, kind == 2 ? "ntd" : "ntv"));
}

template <class Item>
void WriteFlatList(CFile& file, const char* name, int lists) {
    CSectionedList<Item> list;
    list.SetName(QString::fromLatin1(name));
    list.Init(CSectionedList<Item>::kFlat, 1, lists, Item());
    list.WriteToFile(file, 0, 0, 0);
}

QByteArray SectionedLists() {
    const QString path = FuzzFile(nullptr, 0, QStringLiteral("seed.trk"));
    CFile file(path, CFile::modeCreate | CFile::modeWrite);
    CSectionedList<CTrackPoint> points;
    points.SetName(QStringLiteral("FC"));
    points.Init(CSectionedList<CTrackPoint>::kPerFrame, 12, 2, CTrackPoint());
    for (int f = 0; f < 12; f += 2) {
        CTrackPoint p;
        p.SetPosition(f * 3.5, 40 - f);
        p.SetWord1(f);
        points.SetItem(f, f % 2, p);
    }
    points.WriteToFile(file, 0, 11, 0);
    CSectionedList<int32_t> numbers;
    numbers.SetName(QStringLiteral("LG"));
    numbers.Init(CSectionedList<int32_t>::kPerFrame, 4, 3, 7);
    numbers.WriteToFile(file, 0, 3, 0);
    CSectionedList<CCalibrationData> calibration;
    calibration.SetName(QStringLiteral("CI"));
    CCalibrationData scale;
    scale.SetDistance(12.5);
    calibration.Init(CSectionedList<CCalibrationData>::kFlat, 1, 1, scale);
    calibration.WriteToFile(file, 0, 0, 0);
    WriteFlatList<CTrackRegion>(file, "FR", 2);
    WriteFlatList<CTrackFeature>(file, "FO", 1);
    WriteFlatList<CTrackSample>(file, "TS", 2);
    WriteFlatList<CFeatureStyle>(file, "FS", 1);
    file.Close();
    return ReadAll(path);
}

QByteArray Avi(TestAviKind kind, int frames) {
    const QString path = FuzzFile(nullptr, 0, QStringLiteral("seed.avi"));
    TestAviLayout layout;
    layout.kind = kind;
    layout.width = 8;
    layout.height = 6;
    layout.frames = frames;
    if (!WriteTestAvi(path, layout))
        std::fprintf(stderr, "cannot write the AVI seed\n");
    return ReadAll(path);
}

QByteArray Image(int encoder, imaging::PixelFormat format) {
    using namespace imaging;
    Bitmap bitmap(7, 5, format);
    BitmapData locked;
    if (bitmap.LockBits(nullptr, ImageLockModeWrite, format, &locked) == Ok) {
        auto* bytes = static_cast<BYTE*>(locked.Scan0);
        for (UINT y = 0; y < locked.Height; ++y)
            for (int x = 0; x < std::abs(locked.Stride); ++x)
                bytes[y * locked.Stride + x] = static_cast<BYTE>(x * 29 + y * 7);
        bitmap.UnlockBits(&locked);
    }
    UINT count = 0;
    UINT size = 0;
    GetImageEncodersSize(&count, &size);
    std::vector<ImageCodecInfo> encoders(count);
    GetImageEncoders(count, size, encoders.data());
    const QString path = FuzzFile(nullptr, 0, QStringLiteral("seed.img"));
    bitmap.Save(path, &encoders[static_cast<size_t>(encoder)].Clsid, nullptr);
    return ReadAll(path);
}

QByteArray Options(CDlgOptionsBase& store) {
    const QString path = FuzzFile(nullptr, 0, QStringLiteral("seed.opt"));
    store.SaveToFile(path);
    return ReadAll(path);
}

// The defaults of a data card's live sensor window with two channel pairs, as it saves them in
// the current folder.
QByteArray SensorDefaults() {
    IDeviceSettingsSheet::SetFactory([] { return std::make_unique<CSensorSettingsSheet>(); });
    const QString before = QDir::currentPath();
    QDir::setCurrent(QFileInfo(FuzzFile(nullptr, 0, QStringLiteral("seed.opt"))).absolutePath());
    const QString sensor = QStringLiteral("sensorXXX#2#1#0#");
    QByteArray bytes;
    {
        CDataQNSensorDoc doc;
        // No defaults yet: the open fails, and the document knows its card.
        doc.OnOpenDocument(sensor);
        CAcqSettings& s = static_cast<CSensorSettingsSheet*>(doc.GetDeviceSettings())
                              ->GetSheet()
                              .m_acquisitionValue.m_settings;
        s.SetChannelCount(2);
        for (int c = 0; c < 4; ++c) {
            s.m_on[c] = c % 2;
            s.m_mode[c] = c;
            s.m_lower[c] = -1.0 - c;
            s.m_upper[c] = 1.0 + c;
        }
        doc.OnSaveDocument(sensor);
        bytes = ReadAll(CDataQNSensorDoc::DefaultsPath(CDeviceId(2, 1, 0)));
    }
    QDir::setCurrent(before);
    IDeviceSettingsSheet::SetFactory(nullptr);
    return bytes;
}

QByteArray Event() {
    CEvtInfo info;
    info.m_rate = 500;
    info.m_exposureNs = 1800;
    info.m_firstFrame = -40;
    const QString path = FuzzFile(nullptr, 0, QStringLiteral("seed.evt"));
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        info.Serialize(ar);
        ar.Close();
    }
    return ReadAll(path);
}

// A calibration file, then the tracking data of three features with points on every other
// frame, then the overlay's lines, all in one file: each reader finds its own sections.
QByteArray TrackingFiles() {
    const QString path = FuzzFile(nullptr, 0, QStringLiteral("seed-tracking.trk"));
    CAnalysisSettings settings;
    CCalibrationData calibration;
    calibration.SetDistance(2.5);
    calibration.SetUnits(3);
    calibration.SetOrigin(5, 60);
    calibration.SetPositiveX(40, 50);
    settings.SetCalibration(&calibration);
    settings.SaveToFile(path);
    const QByteArray calibrationBytes = ReadAll(path);

    // Eight 64 x 64 frames.
    CFakeRecording recording(64, 64, 8);
    CTrackFeatureSet set;
    set.SetFrameSource(&recording);
    set.SetFeatureLimits(8, 1);
    set.SetFeatureCountForRecording(3);
    set.GetIndexValues().SetAt(CTrackFeatureSet::kToolKey, 1);
    set.SetToolEnabled(true);
    for (int f = 0; f < 8; f += 2)
        for (int i = 0; i < 3; ++i)
            set.SetPointAndRegion(f, i, 10 + 5 * i + f, 20 + f, 5 + f, 15, 25 + f, 35);
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite);
        set.Save(file);
    }
    const QByteArray trackBytes = ReadAll(path);

    CTrackOverlay overlay;
    CFeatureStyle length;
    length.SetStyle1(CTrackOverlay::kLengthLine);
    overlay.AddLine(length, {0, 1});
    CFeatureStyle angle;
    angle.SetStyle1(CTrackOverlay::kAngleLine);
    overlay.AddLine(angle, {0, 1, 2});
    overlay.AddLine(CFeatureStyle(), {2, 0});
    overlay.Save(path);
    return calibrationBytes + trackBytes + ReadAll(path);
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
    Put(root + "/image_sequence_tif", "seed-camera-header.tif",
        SequenceTiffWithCameraHeader(7, 5, 1));
    Put(root + "/color_coefficients", "seed.clr", ColorCoefficientsFile());
    Put(root + "/lut_settings", "seed.lut", LutSettingsFile());
    Put(root + "/avi_series", "seed-rgb.avi", Avi(TestAviKind::RawBgr24, 3));
    Put(root + "/avi_series", "seed-pal8.avi", Avi(TestAviKind::RawPal8, 3));
    Put(root + "/annotation", "seed.ant", Annotations());
    Put(root + "/annotation", "overlays.ant", OverlayAnnotations());
    Put(root + "/play_group", "seed.playgrp", PlayGroup());
    Put(root + "/notes_file", "seed-video.ntv", Notes(3));
    Put(root + "/notes_file", "seed-data.ntd", Notes(2));
    Put(root + "/sectioned_lists", "seed.trk", SectionedLists());
    Put(root + "/tracking_files", "seed-tracking.trk", TrackingFiles());
    Put(root + "/avi_recording", "seed-bgr24.avi", Avi(TestAviKind::RawBgr24, 3));
    Put(root + "/avi_recording", "seed-pal8.avi", Avi(TestAviKind::RawPal8, 2));
    Put(root + "/avi_recording", "seed-mjpeg.avi", Avi(TestAviKind::Mjpeg, 2));
    Put(root + "/image_file", "seed.bmp",
        Image(imaging::detail::kBmpEncoder, imaging::PixelFormat8bppIndexed));
    Put(root + "/image_file", "seed.jpg",
        Image(imaging::detail::kJpegEncoder, imaging::PixelFormat24bppRGB));
    Put(root + "/image_file", "seed.tif",
        Image(imaging::detail::kTiffEncoder, imaging::PixelFormat24bppRGB));
    Put(root + "/image_file", "seed.png",
        Image(imaging::detail::kPngEncoder, imaging::PixelFormat8bppIndexed));
    CDlgOptionsAutoDown autoDown;
    Put(root + "/option_file", "seed-autodown.opt", Options(autoDown));
    CDlgSnapkeepOptions snapkeep;
    Put(root + "/option_file", "seed-snapkeep.opt", Options(snapkeep));
    CDlgDeviceOptions device;
    device.m_deviceValue.m_descriptor = CDeviceDescriptor(CDeviceId(1, 1, 0));
    device.m_deviceValue.m_descriptor.m_name = QStringLiteral("Cam A");
    device.m_cameraValue.m_recordRate = 500;
    device.m_cameraValue.m_width = 640;
    device.m_cameraValue.m_height = 480;
    device.m_cameraValue.m_exposureNs = 1000000;
    device.m_cameraValue.m_postTriggerFrames = 100;
    device.m_cameraValue.m_featureOn[9] = 1;
    Put(root + "/device_settings", "seed.devset", Options(device));
    CDlgDeviceOptions card;
    card.m_deviceValue.m_descriptor = CDeviceDescriptor(CDeviceId(2, 1, 0));
    card.m_cameraValue.m_recordRate = 1000;
    CAcqSettings& acquisition = card.m_acquisitionValue.m_settings;
    acquisition.SetChannelCount(8);
    acquisition.m_on[0] = acquisition.m_on[3] = acquisition.m_on[11] = 1;
    acquisition.m_mode[3] = CAcqSettings::kDiff;
    Put(root + "/device_settings", "seed-card.devset", Options(card));
    // A controller's device file for the first simulated camera, and a launch text.
    CDlgDeviceOptions camera;
    camera.m_deviceValue.m_descriptor = CDeviceDescriptor(CDeviceId(3, 1, 0));
    camera.m_deviceValue.m_descriptor.m_name = QStringLiteral("Camera 1");
    camera.m_cameraValue.m_recordRate = 250;
    Put(root + "/record_controller", "seed-camera.devset", Options(camera));
    Put(root + "/record_controller", "seed-launch.txt", "#3#1#1#");
    Put(root + "/record_controller", "seed-controller.recc",
        QByteArray::fromHex("cc1601009c1e0000"));
    Put(root + "/side_files", "seed.evt", Event());
    Put(root + "/sensor_defaults", "seed.sensdflt", SensorDefaults());
    Put(root + "/side_files", "seed.cih",
        "#Camera Information Header\r\nRecord Rate(fps) : 2000\r\nShutter Speed(s) : 1/4000\r\n"
        "Start Frame : -120\r\nTotal Frame : 500\r\n");
    Put(root + "/side_files", "seed_config.xsv",
        "[Acquisition]\r\nRate=1000\r\nExposureNs=250000\r\nStartIdx=25\r\n");
    return 0;
}
