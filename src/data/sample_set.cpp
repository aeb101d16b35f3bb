#include "sample_set.h"

namespace kelpra {

namespace {

// Positions 32 to 64 of a sample record: the signal level and the DSC symbols, one per
// byte. Several hold the value 0, and every run ends with it, so they are kept as byte
// arrays of a fixed length, never as C strings.
constexpr int kRunLength = 33;
using Run = unsigned char[kRunLength];

constexpr Run kRunA = {128, 125, 125, 125, 125, 125, 125, 120, 120, 20, 13, 23, 54, 50, 100, 99, 99,
                       99,  99,  90,  100, 126, 90,  0,   6,   90,  0,  6,  117, 76, 127, 127, 0};
constexpr Run kRunB = {128, 125, 125, 125, 125, 125, 125, 120, 120, 21,  95,  57,  62,  40,  108, 99,  99,
                       99,  99,  90,  118, 126, 126, 126, 126, 126, 126, 126, 117, 86,  127, 127, 0};
constexpr Run kRunC = {128, 125, 125, 125, 125, 125, 125, 112, 112, 99, 99,  99,  99,  90,  107, 1,  42,
                       20,  15,  33,  88,  88,  100, 127, 57,  127, 127, 126, 117, 86, 127, 127, 0};
constexpr Run kRunD = {128, 125, 125, 125, 125, 125, 125, 112, 112, 99, 99,  99,  99,  90,  107, 99, 99,
                       99,  99,  99,  88,  88,  109, 127, 48,  127, 127, 126, 117, 86, 127, 127, 0};
constexpr Run kRunE = {128, 125, 125, 125, 125, 125, 125, 120, 120, 21,  95,  57,  62,  40,  100, 99,  99,
                       99,  99,  90,  109, 126, 126, 126, 126, 126, 126, 126, 127, 79,  127, 127, 0};
constexpr Run kRunF = {128, 125, 125, 125, 125, 125, 125, 120, 120, 21, 95, 57, 62, 40,  100, 99,  99,
                       99,  99,  90,  100, 126, 90,  0,   6,   90,  0,  6,  117, 76, 127, 127, 0};
constexpr Run kRunG = {128, 125, 125, 125, 125, 125, 125, 112, 112, 99, 99,  99,  99,  90,  107, 99, 99,
                       99,  99,  99,  88,  88,  100, 127, 57,  127, 127, 126, 117, 86, 127, 127, 0};

// The 31-character headers (positions 1 to 31, three trailing blanks included).
constexpr char kCall33[] = "33 151206 2435 1 12577.0 kHZ   ";
constexpr char kHf0[] = "01 151206 2435 0 12577.0 kHZ   ";
constexpr char kHf1[] = "01 151206 2435 1 12577.0 kHZ   ";
constexpr char kVhf0[] = "01 151206 2435 0 156.525 MHZ   ";
constexpr char kVhf1[] = "01 151206 2435 1 156.525 MHZ   ";

struct SampleRecord {
    const char *header;
    const unsigned char *run;
};

// Slot n of the set is entry n - 1.
constexpr SampleRecord kRecords[16] = {
    {kCall33, kRunA}, // 1
    {kHf0, kRunB},    // 2, same bytes as 7
    {kVhf1, kRunC},   // 3
    {kHf0, kRunD},    // 4, same bytes as 9
    {kHf0, kRunE},    // 5, same bytes as 15
    {kHf1, kRunF},    // 6, same bytes as 16
    {kHf0, kRunB},    // 7
    {kVhf1, kRunG},   // 8
    {kHf0, kRunD},    // 9
    {kHf1, kRunE},    // 10
    {kHf0, kRunF},    // 11
    {kHf1, kRunB},    // 12
    {kVhf0, kRunG},   // 13
    {kHf1, kRunD},    // 14
    {kHf0, kRunE},    // 15
    {kHf1, kRunF},    // 16
};

constexpr int kHeaderLength = 31;
static_assert(sizeof(kCall33) == kHeaderLength + 1 && sizeof(kHf0) == kHeaderLength + 1
                  && sizeof(kHf1) == kHeaderLength + 1 && sizeof(kVhf0) == kHeaderLength + 1
                  && sizeof(kVhf1) == kHeaderLength + 1,
              "every sample header is 31 characters");

} // namespace

QByteArray sampleIdentificationLine()
{
    return QByteArrayLiteral("GMDSS TESTER S/N 001 rev 1.324");
}

QByteArray sampleRecord(int slot)
{
    if (slot < 1 || slot > 16)
        return {};
    const SampleRecord &r = kRecords[slot - 1];
    QByteArray bytes(r.header, kHeaderLength);
    bytes.append(reinterpret_cast<const char *>(r.run), kRunLength);
    return bytes;
}

} // namespace kelpra
