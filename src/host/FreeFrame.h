// The host interface: the one exported entry point and the plain records that cross it.
//
// Every record is host-owned unless a comment says otherwise, valid for the one call that
// passes it, and read only during that call. On 32-bit targets every word is 32 bits and
// the layouts are the interface's historic ones; on 64-bit targets addresses widen to 64 bits
// with natural alignment and the input value and result become one pointer-sized word.
#pragma once

#include <stddef.h>
#include <stdint.h>

// The only place that knows the calling convention and the export mechanism.
#if defined(_WIN32)
#define FF_CALL __stdcall  // the system convention; a no-op on 64-bit Windows
#define FF_EXPORT          // exported undecorated through the module-definition file
#else
#define FF_CALL
#define FF_EXPORT __attribute__((visibility("default")))
#endif

#if UINTPTR_MAX > 0xFFFFFFFFu
#define FF_ABI_64 1
#else
#define FF_ABI_64 0
#endif

#ifdef __cplusplus
extern "C" {
#endif

// One input word: a value (index, capability code) or the address of a host record.
// Values are read from UIntValue only, never from the whole word.
typedef union FFMixed {
  uint32_t UIntValue;
  void* PointerValue;
} FFMixed;

// The result word. A 32-bit result (count, type code, float bits, -1) sits in the low 32 bits
// of a zeroed word. It is an unsigned integer rather than the union because 32-bit System V
// returns unions through memory, which would break the interface's register return there.
typedef uintptr_t FFResult;

// The address of a live instance made by code 18; 0 means none.
typedef uintptr_t FFInstanceID;

#define FF_SUCCESS ((FFResult)0u)
#define FF_FAIL ((FFResult)0xFFFFFFFFu)

// Function codes of plugMain.
enum {
  FF_GETINFO = 0,
  FF_INITIALISE = 1,
  FF_DEINITIALISE = 2,
  FF_GETNUMPARAMETERS = 4,
  FF_GETPARAMETERNAME = 5,
  FF_GETPARAMETERDEFAULT = 6,
  FF_GETPARAMETERDISPLAY = 7,
  FF_SETPARAMETER = 8,
  FF_GETPARAMETER = 9,
  FF_GETPLUGINCAPS = 10,
  FF_GETEXTENDEDINFO = 13,
  FF_GETPARAMETERTYPE = 15,
  FF_GETINPUTSTATUS = 16,
  FF_PROCESSOPENGL = 17,
  FF_INSTANTIATEGL = 18,
  FF_DEINSTANTIATEGL = 19,
  FF_SETTIME = 20
};

// Capability codes (input value of code 10).
enum {
  FF_CAP_OPENGL = 4,
  FF_CAP_SETTIME = 5,
  FF_CAP_MINIMUMINPUTFRAMES = 10,
  FF_CAP_MAXIMUMINPUTFRAMES = 11
};

// Parameter type codes.
enum { FF_TYPE_BOOLEAN = 0, FF_TYPE_STANDARD = 10, FF_TYPE_TEXT = 100 };

// Input of code 18: the drawing surface of the place to render.
typedef struct ViewportRecord {
  uint32_t x;  // not read
  uint32_t y;  // not read
  uint32_t width;
  uint32_t height;
} ViewportRecord;

// One input texture.
typedef struct TextureRecord {
  uint32_t width;           // picture width in pixels
  uint32_t height;          // picture height in pixels
  uint32_t hardwareWidth;   // allocated width, at least width
  uint32_t hardwareHeight;  // allocated height, at least height
  uint32_t handle;          // GL_TEXTURE_2D texture name
} TextureRecord;

// Input of code 17. inputTextures points to inputCount host-owned record addresses; an entry
// may be null (no input there).
typedef struct ProcessFrameRecord {
  uint32_t inputCount;
  TextureRecord** inputTextures;
  uint32_t hostFramebuffer;  // 0 is the default framebuffer
} ProcessFrameRecord;

// Input of code 8. value holds the bits of a 32-bit float in UIntValue, or for a text
// parameter the address of a zero-terminated text in PointerValue.
typedef struct ParameterPair {
  uint32_t index;
  FFMixed value;
} ParameterPair;

// Answered to code 0. Owned by the plugin; valid until the library unloads.
typedef struct PluginInfoRecord {
  uint32_t apiMajorVersion;
  uint32_t apiMinorVersion;
  uint8_t uniqueId[4];  // no terminator
  uint8_t name[16];     // zero-padded; no terminator when all 16 bytes are used
  uint32_t pluginType;  // 0 effect, 1 source
} PluginInfoRecord;

// Answered to code 13. Owned by the plugin with its texts; valid until the library unloads.
typedef struct ExtendedInfoRecord {
  uint32_t pluginMajorVersion;
  uint32_t pluginMinorVersion;
  char* description;
  char* about;
  uint32_t extendedDataSize;
  void* extendedData;
} ExtendedInfoRecord;

// The whole host interface. Called from one thread at a time; codes 17, 18 and 19 with the
// host's OpenGL context current.
FF_EXPORT FFResult FF_CALL plugMain(uint32_t functionCode, FFMixed inputValue,
                                    FFInstanceID instanceID);

typedef FFResult(FF_CALL* FFPlugMainFunc)(uint32_t, FFMixed, FFInstanceID);

#ifdef __cplusplus
}  // extern "C"
#endif

// Layout checks for both widths.
#ifdef __cplusplus
#define FF_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define FF_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

FF_STATIC_ASSERT(sizeof(FFMixed) == sizeof(void*), "FFMixed is one pointer-sized word");
FF_STATIC_ASSERT(sizeof(FFResult) == sizeof(void*), "FFResult is one pointer-sized word");
FF_STATIC_ASSERT(sizeof(ViewportRecord) == 16, "ViewportRecord size");
FF_STATIC_ASSERT(offsetof(ViewportRecord, x) == 0, "ViewportRecord.x");
FF_STATIC_ASSERT(offsetof(ViewportRecord, y) == 4, "ViewportRecord.y");
FF_STATIC_ASSERT(offsetof(ViewportRecord, width) == 8, "ViewportRecord.width");
FF_STATIC_ASSERT(offsetof(ViewportRecord, height) == 12, "ViewportRecord.height");
FF_STATIC_ASSERT(sizeof(TextureRecord) == 20, "TextureRecord size");
FF_STATIC_ASSERT(offsetof(TextureRecord, width) == 0, "TextureRecord.width");
FF_STATIC_ASSERT(offsetof(TextureRecord, height) == 4, "TextureRecord.height");
FF_STATIC_ASSERT(offsetof(TextureRecord, hardwareWidth) == 8, "TextureRecord.hardwareWidth");
FF_STATIC_ASSERT(offsetof(TextureRecord, hardwareHeight) == 12, "TextureRecord.hardwareHeight");
FF_STATIC_ASSERT(offsetof(TextureRecord, handle) == 16, "TextureRecord.handle");
FF_STATIC_ASSERT(sizeof(PluginInfoRecord) == 32, "PluginInfoRecord size");
FF_STATIC_ASSERT(offsetof(PluginInfoRecord, apiMajorVersion) == 0, "PluginInfoRecord.apiMajor");
FF_STATIC_ASSERT(offsetof(PluginInfoRecord, apiMinorVersion) == 4, "PluginInfoRecord.apiMinor");
FF_STATIC_ASSERT(offsetof(PluginInfoRecord, uniqueId) == 8, "PluginInfoRecord.uniqueId");
FF_STATIC_ASSERT(offsetof(PluginInfoRecord, name) == 12, "PluginInfoRecord.name");
FF_STATIC_ASSERT(offsetof(PluginInfoRecord, pluginType) == 28, "PluginInfoRecord.pluginType");
FF_STATIC_ASSERT(offsetof(ProcessFrameRecord, inputCount) == 0, "ProcessFrameRecord.inputCount");
FF_STATIC_ASSERT(offsetof(ParameterPair, index) == 0, "ParameterPair.index");
FF_STATIC_ASSERT(offsetof(ExtendedInfoRecord, pluginMajorVersion) == 0, "ExtendedInfo.major");
FF_STATIC_ASSERT(offsetof(ExtendedInfoRecord, pluginMinorVersion) == 4, "ExtendedInfo.minor");
FF_STATIC_ASSERT(offsetof(ExtendedInfoRecord, description) == 8, "ExtendedInfo.description");
#if FF_ABI_64
FF_STATIC_ASSERT(sizeof(ProcessFrameRecord) == 24, "ProcessFrameRecord size (64-bit)");
FF_STATIC_ASSERT(offsetof(ProcessFrameRecord, inputTextures) == 8, "inputTextures (64-bit)");
FF_STATIC_ASSERT(offsetof(ProcessFrameRecord, hostFramebuffer) == 16, "hostFramebuffer (64-bit)");
FF_STATIC_ASSERT(sizeof(ParameterPair) == 16, "ParameterPair size (64-bit)");
FF_STATIC_ASSERT(offsetof(ParameterPair, value) == 8, "ParameterPair.value (64-bit)");
FF_STATIC_ASSERT(sizeof(ExtendedInfoRecord) == 40, "ExtendedInfoRecord size (64-bit)");
FF_STATIC_ASSERT(offsetof(ExtendedInfoRecord, about) == 16, "ExtendedInfo.about (64-bit)");
FF_STATIC_ASSERT(offsetof(ExtendedInfoRecord, extendedDataSize) == 24, "dataSize (64-bit)");
FF_STATIC_ASSERT(offsetof(ExtendedInfoRecord, extendedData) == 32, "data (64-bit)");
#else
FF_STATIC_ASSERT(sizeof(ProcessFrameRecord) == 12, "ProcessFrameRecord size (32-bit)");
FF_STATIC_ASSERT(offsetof(ProcessFrameRecord, inputTextures) == 4, "inputTextures (32-bit)");
FF_STATIC_ASSERT(offsetof(ProcessFrameRecord, hostFramebuffer) == 8, "hostFramebuffer (32-bit)");
FF_STATIC_ASSERT(sizeof(ParameterPair) == 8, "ParameterPair size (32-bit)");
FF_STATIC_ASSERT(offsetof(ParameterPair, value) == 4, "ParameterPair.value (32-bit)");
FF_STATIC_ASSERT(sizeof(ExtendedInfoRecord) == 24, "ExtendedInfoRecord size (32-bit)");
FF_STATIC_ASSERT(offsetof(ExtendedInfoRecord, about) == 12, "ExtendedInfo.about (32-bit)");
FF_STATIC_ASSERT(offsetof(ExtendedInfoRecord, extendedDataSize) == 16, "dataSize (32-bit)");
FF_STATIC_ASSERT(offsetof(ExtendedInfoRecord, extendedData) == 20, "data (32-bit)");
#endif
FF_STATIC_ASSERT(sizeof(double) == 8, "the time value of code 20 is a 64-bit double");
