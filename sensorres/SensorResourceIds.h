#pragma once

// The resource and control ids of the sensor windows whose templates the sensor-resource
// library carries. The library and the windows that use its templates both read them here.

#include <QString>

namespace SensorRes {

// The name the library's tables carry in the resource chain.
inline const QString kModuleName = QStringLiteral("Sondrel.dll");

// Templates.
inline constexpr unsigned kTestTriggerTemplate = 102;
inline constexpr unsigned kFormatSettingsTemplate = 162;
inline constexpr unsigned kGraphConfigTemplate = 180;
inline constexpr unsigned kDataDisplayTemplate = 287;
inline constexpr unsigned kSensorRecordTemplate = 321;
inline constexpr unsigned kDataDisplayChildTemplate = 1538;
inline constexpr unsigned kAcquisitionSettingsTemplate = 1539;
inline constexpr unsigned kSensorRecordMode0Template = 1574;
inline constexpr unsigned kSensorRecordMode1Template = 1575;
inline constexpr unsigned kSensorRecordMode2Template = 1576;
inline constexpr unsigned kDataPlayBarTemplate = 1630;

// The data display's context menu and its command.
inline constexpr unsigned kDataDisplayMenu = 1541;
inline constexpr unsigned kFormatSettingsCommand = 33101;

// Bitmaps and icons.
inline constexpr unsigned kBitmapAdd = 214;
inline constexpr unsigned kBitmapRemove = 215;
inline constexpr unsigned kBitmapRecord = 219;
inline constexpr unsigned kBitmapStop = 277;
inline constexpr unsigned kBackIcon = 1601;  // "BACKICON"
inline constexpr unsigned kStepIcon = 1602;  // "STEPICON"
inline constexpr unsigned kPlayIcon = 1603;  // "PLAYICON"
inline constexpr unsigned kRewIcon = 1604;   // "REWICON"
inline constexpr unsigned kStopIcon = 1605;  // "STOPICON"
inline constexpr unsigned kRevIcon = 1606;   // "REVICON"
inline constexpr unsigned kForwIcon = 1607;  // "FORWICON"

}  // namespace SensorRes

// Controls of the data display (templates 287 and 1538).
namespace DataDisplayId {
inline constexpr int kDataCentric = 1000;
inline constexpr int kTimeField = 1009;
inline constexpr int kCursorMode = 1018;
inline constexpr int kZoomMode = 1019;
inline constexpr int kPanMode = 1020;
inline constexpr int kValuesList = 1022;
inline constexpr int kGraph = 1023;
inline constexpr int kIndexLabel = 1118;
inline constexpr int kIndexField = 1119;
inline constexpr int kTimeLabel = 1120;
inline constexpr int kValuesButton = 1132;
inline constexpr int kConfigure = 1133;
inline constexpr int kBack = 2004;
inline constexpr int kFwd = 2005;
}  // namespace DataDisplayId

// Controls of a data window's play bar (template 1630) beside its transport buttons and mode
// boxes, which carry the play commands' ids.
namespace DataPlayBarId {
inline constexpr int kFrameField = 1014;
inline constexpr int kTimeField = 1016;
inline constexpr int kPositionSlider = 1317;
// The scale under the slider: the first frame, a third and two thirds of the way, the last.
inline constexpr int kScaleLabels[4] = {1019, 1006, 1007, 1013};
}  // namespace DataPlayBarId

// Controls of the format settings (template 162).
namespace FormatSettingsId {
inline constexpr int kSmallFont = 1018;
inline constexpr int kLargeFont = 1019;
inline constexpr int kAutoFont = 1020;
inline constexpr int kChannelList = 1122;
inline constexpr int kExportScaled = 1141;
inline constexpr int kFactor = 2081;
inline constexpr int kOffset = 2101;
inline constexpr int kLabel = 2221;
inline constexpr int kUnits = 2240;
}  // namespace FormatSettingsId

// Controls of the graph configuration (template 180).
namespace GraphConfigId {
inline constexpr int kGridLines = 1003;
inline constexpr int kBlackBackground = 1004;
inline constexpr int kDisplayedList = 1204;
inline constexpr int kHiddenList = 1205;
inline constexpr int kAdd = 1206;
inline constexpr int kRemove = 1207;
inline constexpr int kScaledView = 1208;
inline constexpr int kCaptionOn = 1209;
inline constexpr int kCaptionChannel = 1210;
}  // namespace GraphConfigId
