#pragma once

namespace zelmora {

// Largest magnitude of an exponent the table can scale by; the parser treats anything beyond it
// as overflow or underflow before calling in.
inline constexpr int MaxScaleExponent = 5119;

// value × 10^exponent in extended precision, |exponent| <= MaxScaleExponent. The factor is
// applied in up to three table steps (10^(j mod 32), then 10^(32 × ((j div 32) mod 16)), then
// 10^(512 × (j div 512))), each rounded; a negative exponent divides by the same factors.
long double ScaleByPowerOfTen(long double value, int exponent);

} // namespace zelmora
