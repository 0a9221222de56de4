#pragma once

namespace zelmora {

double TailProbability(double x);

} // namespace zelmora
