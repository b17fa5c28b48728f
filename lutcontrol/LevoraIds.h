#pragma once

// Class ids, ProgIDs, interface ids and dispatch ids of the Levora module.

#include "platform/com/Guid.h"
#include "platform/com/VarType.h"

namespace levora {

inline constexpr CLSID kModifyCtrlClsid = GuidLiteral("{39E67147-0012-4E2B-8C89-1DBB393F54FB}");
inline constexpr CLSID kLevora2Clsid = GuidLiteral("{9EFAE7CB-74B4-4E44-BD27-5529EA85F5BE}");
inline constexpr CLSID kLevora3Clsid = GuidLiteral("{CDFA9C17-8A08-4B6D-A1EE-4C5B6F695813}");
inline constexpr CLSID kModifyPropPageClsid = GuidLiteral("{0D8FE5B0-9A8D-491E-8133-DE57541A3063}");
inline constexpr CLSID kLevora2PropPageClsid =
    GuidLiteral("{2A8A9484-DD6E-4096-A469-05941F6BFEFE}");
inline constexpr CLSID kLevora3PropPageClsid =
    GuidLiteral("{5E840517-2707-45F2-806C-AE1EA5AC4589}");
inline constexpr CLSID kLutParamsClsid = GuidLiteral("{CE368290-B189-487E-A841-8D79013351CE}");
inline constexpr CLSID kModifyStateClsid = GuidLiteral("{03C29E8B-4337-4463-A804-9B3449E56109}");

inline constexpr IID kLutParamsIid = GuidLiteral("{8040784B-372F-4A23-A2AB-71D9FD706FFF}");
inline constexpr IID kModifyStateIid = GuidLiteral("{272364A1-9A8D-4E39-BCD9-87896B7BAC65}");
inline constexpr IID kModifyDispatchIid = GuidLiteral("{7DBE039A-8F12-4D1B-A2DD-E58B5E782D70}");
inline constexpr IID kModifyEventsIid = GuidLiteral("{4420355E-8C4F-4926-A652-EEDCF0401572}");

inline constexpr GUID kTypeLibId = GuidLiteral("{212008FA-0DF0-4661-980D-CE5BC1FCEE5E}");
inline constexpr char kTypeLibName[] = "LEVORALib";
inline constexpr char kTypeLibVersion[] = "1.0";

inline constexpr char kLutParamsProgId[] = "Levora.QnCBasicLutParams";
inline constexpr char kModifyStateProgId[] = "Levora.QnCBasicLutModifyState";

// The editor control's dispatch interface.
enum ModifyDispid : DISPID {
    kDispParams = 1,
    kDispParamsBW = 2,
    kDispModifyState = 3,
    kDispGetParamsLutsAndState = 4,
    kDispSetParamsLutsAndState = 5,
    kDispSaveToFile = 6,
    kDispLoadFromFile = 7,
    kDispGetDefaultFileExtension = 8,
    kDispSetBasePathAndFileName = 9,
    kDispSetEnabled = 10,
    kDispGetEnabled = 11,
};
// The editor control's event: the user changed the values.
inline constexpr DISPID kEventParamsChanged = 1;

// IQnCBasicLutParams.
enum LutParamsDispid : DISPID {
    kBLPGetBrightness = 1,
    kBLPSetBrightness,
    kBLPGetContrast,
    kBLPSetContrast,
    kBLPGetExpLog,
    kBLPSetExpLog,
    kBLPGetNumberChannels,
    kBLPGetGamma,
    kBLPSetGamma,
    kBLPGetReverse,
    kBLPSetReverse,
    kBLPGetLabel,
    kBLPSetLabel,
    kBLPGetColor2BW,
    kBLPSetColor2BW,
    kBLPGetRGBScale,
    kBLPSetRGBScale,
    kBLPGetType1,
    kBLPSetType1,
    kBLPDefaultParameters,
    kBLPSet,
};

// IQnCBasicLutModifyState: dispids 1..16 are getter/setter pairs of the eight flags in record
// order (flag i: getter 2i+1, setter 2i+2).
inline constexpr DISPID kBLMSSet = 17;

// Skeleton controls.
inline constexpr DISPID kDispAboutBox = -552;

}  // namespace levora
