#include "update/WSockbuf.h"

#include <algorithm>
#include <cstring>

TBuffer::TBuffer(int Size) {
    SetBufSize(Size);
}

int TBuffer::Write(const void *Data, int Len) {
    const int count = std::clamp(BufSize() - FWrCount, 0, std::max(Len, 0));
    if (count > 0) {
        std::memcpy(FBuf.data() + FWrCount, Data, size_t(count));
        FWrCount += count;
    }
    return count;
}

const char *TBuffer::Peek(int &Len) const {
    Len = FWrCount - FRdCount;
    return FBuf.data() + FRdCount;
}

int TBuffer::Remove(int Len) {
    const int count = std::clamp(Len, 0, FWrCount - FRdCount);
    FRdCount += count;
    if (FRdCount >= FWrCount) {
        FRdCount = 0;
        FWrCount = 0;
    }
    return count;
}

void TBuffer::SetBufSize(int Size) {
    if (Size <= 0)
        Size = DefaultSize;
    std::vector<char> memory(size_t(Size), 0);
    const int unsent = std::min(FWrCount - FRdCount, Size);
    if (unsent > 0)
        std::memcpy(memory.data(), FBuf.data() + FRdCount, size_t(unsent));
    FBuf = std::move(memory);
    FRdCount = 0;
    FWrCount = unsent;
}
