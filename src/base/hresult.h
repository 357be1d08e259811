// Result codes of the DirectDraw- and DirectSound-shaped device layers, as
// their callers test them: negative values are failures.
//
// These and the rest of the Windows-shaped names (the DirectDraw and
// DirectSound work-alikes, the virtual-key codes, JOYINFO) live in namespace
// dx, where <windows.h>'s own types of the same names never meet them.
#pragma once

#include <cstdint>

#include "base/windows_names_push.h"

namespace dx {

using HRESULT = int32_t;

constexpr bool FAILED(HRESULT hr) { return hr < 0; }
constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }

// The codes both layers share.
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);

}  // namespace dx

#include "base/windows_names_pop.h"
