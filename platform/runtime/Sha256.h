#pragma once
// SHA-256 by the platform's own cryptography (CNG), as 64 lowercase hex
// digits.  One Sha256 opens the algorithm once for many texts (the
// fingerprints of a statement's lines); a Sha256::Stream takes one long
// text in pieces (a whole ledger's rows) without holding it at once.
#include <string>
#include <string_view>

namespace arc {

class Sha256 {
public:
    // Raises RuntimeError when the system offers no SHA-256.
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    // The digest of one text's bytes.
    std::string Hex(std::string_view bytes);

    class Stream {
    public:
        Stream();
        ~Stream();
        Stream(const Stream&) = delete;
        Stream& operator=(const Stream&) = delete;
        void Add(std::string_view bytes);
        // The digest of everything added; the stream is spent afterwards.
        std::string Hex();

    private:
        void* algorithm_ = nullptr;
        void* hash_ = nullptr;
    };

private:
    void* algorithm_ = nullptr;
};

// The digest of one text's bytes.
std::string Sha256Hex(std::string_view bytes);

}  // namespace arc
