#pragma once
// Value noise on a lattice that wraps around, so that textures built from it tile without seams.
#include <cstdint>
#include <vector>

namespace vte::demo::data {

class TTileNoise {
public:
  // Period lattice cells across the tile in both directions; Seed picks the lattice values.
  TTileNoise(int Period, std::uint32_t Seed);
  // Smooth noise in [0, 1] at (X, Y) given in cells; periodic with Period.
  double At(double X, double Y) const;
  // Octaves of noise at doubling frequency and halving weight, in [0, 1]: the period doubles with
  // each octave, so the sum tiles as its first octave does.
  static double Fractal(const std::vector<TTileNoise>& Octaves, double U, double V);

private:
  double Lattice(int X, int Y) const;
  int FPeriod;
  std::vector<double> FValues;
};

// Octaves for Fractal: the first of Period cells, each next of twice as many.
std::vector<TTileNoise> NoiseOctaves(int Period, int Count, std::uint32_t Seed);

// A small deterministic generator (the textures must not depend on the library's program-wide one).
class TDataRandom {
public:
  explicit TDataRandom(std::uint32_t Seed) : FState(Seed ? Seed : 1) {}
  std::uint32_t Next() {
    FState ^= FState << 13;
    FState ^= FState >> 17;
    FState ^= FState << 5;
    return FState;
  }
  double Unit() { return (Next() >> 8) / double(1 << 24); }

private:
  std::uint32_t FState;
};

}  // namespace vte::demo::data
