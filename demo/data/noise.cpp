#include "noise.h"

#include <cmath>

namespace vte::demo::data {

TTileNoise::TTileNoise(int Period, std::uint32_t Seed) : FPeriod(Period), FValues(std::size_t(Period) * Period) {
  TDataRandom Random(Seed);
  for (double& Value : FValues) Value = Random.Unit();
}

double TTileNoise::Lattice(int X, int Y) const {
  X = ((X % FPeriod) + FPeriod) % FPeriod;
  Y = ((Y % FPeriod) + FPeriod) % FPeriod;
  return FValues[std::size_t(Y) * FPeriod + X];
}

double TTileNoise::At(double X, double Y) const {
  const double FloorX = std::floor(X), FloorY = std::floor(Y);
  const int X0 = int(FloorX), Y0 = int(FloorY);
  // Smoothstep weights: value noise without the lattice's grid showing.
  auto Fade = [](double T) { return T * T * (3 - 2 * T); };
  const double Fx = Fade(X - FloorX), Fy = Fade(Y - FloorY);
  const double Top = Lattice(X0, Y0) + (Lattice(X0 + 1, Y0) - Lattice(X0, Y0)) * Fx;
  const double Bottom = Lattice(X0, Y0 + 1) + (Lattice(X0 + 1, Y0 + 1) - Lattice(X0, Y0 + 1)) * Fx;
  return Top + (Bottom - Top) * Fy;
}

double TTileNoise::Fractal(const std::vector<TTileNoise>& Octaves, double U, double V) {
  double Sum = 0, Weight = 1, Total = 0;
  for (const TTileNoise& Octave : Octaves) {
    Sum += Octave.At(U * Octave.FPeriod, V * Octave.FPeriod) * Weight;
    Total += Weight;
    Weight /= 2;
  }
  return Sum / Total;
}

std::vector<TTileNoise> NoiseOctaves(int Period, int Count, std::uint32_t Seed) {
  std::vector<TTileNoise> Octaves;
  for (int I = 0; I < Count; ++I) Octaves.emplace_back(Period << I, Seed + 7919u * I);
  return Octaves;
}

}  // namespace vte::demo::data
