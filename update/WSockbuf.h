// One block of a socket's send queue: bytes written at the end, sent from the front.
#pragma once

#include <vector>

class TBuffer {
public:
    // A size of 0 or less gives the usual block of 1514 bytes.
    explicit TBuffer(int Size = 0);

    static constexpr int DefaultSize = 1514;

    // Copies as much of Data as fits; the count copied (0 when the block is full).
    int Write(const void *Data, int Len);
    // The bytes written and not sent yet: Len receives their count.
    const char *Peek(int &Len) const;
    // Marks up to Len unsent bytes as sent; the count marked. Once everything is sent the block
    // is empty again and can be refilled.
    int Remove(int Len);
    // Changes the capacity, keeping the unsent bytes (as many as fit).
    void SetBufSize(int Size);
    int BufSize() const { return int(FBuf.size()); }
    // Bytes written into the block and bytes of them already sent.
    int WrCount() const { return FWrCount; }
    int RdCount() const { return FRdCount; }

private:
    std::vector<char> FBuf;
    int FWrCount = 0;
    int FRdCount = 0;
};
