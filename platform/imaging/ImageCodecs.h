#pragma once

// The image encoders a bitmap can be saved with, each known by a class id and a MIME type
// ("image/bmp", "image/jpeg", "image/tiff", "image/png"), and the encoder parameters they take.

#include "platform/imaging/Status.h"
#include "platform/wintypes/WinTypes.h"

#include <cstdint>

namespace imaging {

// The identity of an encoder or of an encoder parameter; laid out like a GUID.
struct CodecId {
    uint32_t Data1 = 0;
    uint16_t Data2 = 0;
    uint16_t Data3 = 0;
    uint8_t Data4[8] = {};

    friend constexpr bool operator==(const CodecId&, const CodecId&) = default;
};

struct ImageCodecInfo {
    CodecId Clsid;
    const char16_t* MimeType = nullptr;  // Zero-terminated; points to storage that never ends.
};

// JPEG quality, one EncoderParameterValueTypeLong value from 0 (smallest) to 100 (best).
extern const CodecId EncoderQuality;

enum EncoderParameterValueType : ULONG {
    EncoderParameterValueTypeLong = 4,  // ULONG values.
};

struct EncoderParameter {
    CodecId Guid;
    ULONG NumberOfValues = 0;
    ULONG Type = 0;
    void* Value = nullptr;
};

// At most one parameter: the only one any encoder takes is the JPEG quality.
struct EncoderParameters {
    UINT Count = 0;
    EncoderParameter Parameter[1];
};

// The number of encoders and the bytes GetImageEncoders needs for them.
Status GetImageEncodersSize(UINT* numEncoders, UINT* size);
// Fills `encoders` (room for `size` bytes) with every encoder in a fixed order; both counts must
// be the ones GetImageEncodersSize gave, else InvalidParameter and nothing is written.
Status GetImageEncoders(UINT numEncoders, UINT size, ImageCodecInfo* encoders);

}  // namespace imaging
