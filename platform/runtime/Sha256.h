#pragma once
// SHA-256 through the platform's own cryptography (CNG), as lowercase hex.
// The hasher takes its input in pieces, so a long text (a whole ledger's
// rows) is hashed without being held at once.
#include <windows.h>

#include <string>
#include <string_view>

namespace arc {

class Sha256 {
public:
    // Raises RuntimeError when the platform offers no SHA-256.
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void Add(std::string_view bytes);
    // The digest of everything added, as 64 lowercase hex digits; the hasher
    // is spent afterwards.
    std::string Hex();

private:
    void* algorithm_ = nullptr;
    void* hash_ = nullptr;
};

// The digest of one text's bytes.
std::string Sha256Hex(std::string_view bytes);

}  // namespace arc
