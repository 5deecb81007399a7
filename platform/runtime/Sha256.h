#pragma once
// SHA-256 by the platform's own cryptography (CNG), for fingerprints that
// must stay the same from one reading of a file to the next.
#include <string>
#include <string_view>

namespace arc {

class Sha256 {
public:
    // Opens the algorithm once for many hashes; raises RuntimeError when the
    // system offers none.
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    // The hash of the bytes as 64 lower-case hexadecimal digits.
    std::string Hex(std::string_view bytes);

private:
    void* algorithm_ = nullptr;
};

}  // namespace arc
