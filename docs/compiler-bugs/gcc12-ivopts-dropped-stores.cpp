// A standalone reproducer of the g++ 12 fault behind the row buffer in unpackEnemyPicture
// (src/world/textures.cpp); see README.md beside it. Not built by the project.
//
//   g++-12 -O2 gcc12-ivopts-dropped-stores.cpp && ./a.out   -> "0 (expected 65536)", status 1
//   g++-12 -O0 ...   or   g++-12 -O2 -fno-ivopts ...   or   clang++ -O2 ...   -> 65536, status 0
//
// The program has no undefined behaviour: every index is inside its array, every type is a
// character type, no arithmetic overflows and the object outlives every access.
#include <cstdio>

struct State {
    unsigned char bank[2][128 * 128];
    unsigned char picture[128 * 32];
};

__attribute__((noinline)) void unpack(State& s) {
    for (int r = 0; r < 128; ++r) {
        for (int i = 0; i < 32; ++i) {
            const unsigned char b = s.picture[r * 32 + i];
            const unsigned char lo = (b & 15) * 4;
            const unsigned char hi = (b >> 2) & 60;
            s.bank[0][r * 128 + 2 * i] = lo;
            s.bank[0][r * 128 + 2 * i + 1] = hi;
            s.bank[1][r * 128 + ((64 - 2 * i) & 127)] = lo;
            s.bank[1][r * 128 + ((63 - 2 * i) & 127)] = hi;
        }
    }
}

void build(State& s) { unpack(s); }

static State state;

int main() {
    for (int i = 0; i < 128 * 32; ++i) state.picture[i] = 0x11;
    build(state);
    long sum = 0;
    for (int k = 0; k < 2; ++k)
        for (int i = 0; i < 128 * 128; ++i) sum += state.bank[k][i];
    std::printf("%ld (expected %d)\n", sum, 2 * 128 * 32 * (4 + 4));
    return sum == 2 * 128 * 32 * 8 ? 0 : 1;
}
