// Basic types, calling convention and result codes of the plug-in binary interface.
#pragma once

#include <cstdint>

#ifdef _WIN32
// Every interface method uses the callee-cleans convention on 32-bit x86 Windows
// (g++ would otherwise pick thiscall); on x64 there is only one convention.
#define PLUGIN_API __stdcall
#else
#define PLUGIN_API
#endif

namespace Sdk {

using int8 = std::int8_t;
using uint8 = std::uint8_t;
using int16 = std::int16_t;
using uint16 = std::uint16_t;
using int32 = std::int32_t;
using uint32 = std::uint32_t;
using int64 = std::int64_t;
using uint64 = std::uint64_t;

using tresult = int32;
using TBool = uint8;
using char8 = char;
using char16 = char16_t;  // 16-bit on every build, so records keep their layout natively
using TUID = char[16];
using FIDString = const char8*;
using CString = const char8*;
using UCoord = int32;

// Windows hosts expect the COM values (every failure negative); Linux hosts the small ones, where
// only kNoInterface is negative. Compare results against these names, never test for `< 0`.
constexpr tresult kResultOk = 0;
constexpr tresult kResultTrue = kResultOk;
constexpr tresult kResultFalse = 1;
#ifdef _WIN32
constexpr tresult kNoInterface = static_cast<tresult>(0x80004002u);
constexpr tresult kInvalidArgument = static_cast<tresult>(0x80070057u);
constexpr tresult kNotImplemented = static_cast<tresult>(0x80004001u);
constexpr tresult kInternalError = static_cast<tresult>(0x80004005u);
constexpr tresult kNotInitialized = static_cast<tresult>(0x8000FFFFu);
constexpr tresult kOutOfMemory = static_cast<tresult>(0x8007000Eu);
#else
constexpr tresult kNoInterface = -1;
constexpr tresult kInvalidArgument = 2;
constexpr tresult kNotImplemented = 3;
constexpr tresult kInternalError = 4;
constexpr tresult kNotInitialized = 5;
constexpr tresult kOutOfMemory = 6;
#endif

namespace Vst {

using TChar = char16;
using String128 = TChar[128];
using MediaType = int32;
using BusDirection = int32;
using BusType = int32;
using IoMode = int32;
using UnitID = int32;
using ProgramListID = int32;
using KnobMode = int32;
using ParamID = uint32;
using ParamValue = double;
using SampleRate = double;
using TQuarterNotes = double;
using TSamples = int64;
using Sample32 = float;
using Sample64 = double;
using CtrlNumber = int16;
using SpeakerArrangement = uint64;
using Speaker = uint64;
using NoteExpressionTypeID = uint32;
using NoteExpressionValue = double;

}  // namespace Vst
}  // namespace Sdk
