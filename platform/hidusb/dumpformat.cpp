#include "platform/hidusb/dumpformat.h"

#include <algorithm>
#include <cstring>

namespace hidusb {
namespace dump {

namespace {

const std::uint8_t kTag[4] = {'V', 'M', 'X', 1};

int kindIndex(unsigned char kind)
{
    switch (kind) {
    case 0:
        return 0;
    case 1:
        return 1;
    case 2:
        return 2;
    case 4:
        return 3;
    default:
        return -1;
    }
}

const unsigned char kKindOfIndex[4] = {0, 1, 2, 4};

void putEvent(const KeyEvent &e, std::uint8_t *out)
{
    const std::uint32_t delay = e.delay;
    out[0] = static_cast<std::uint8_t>(((e.action & 1) << 7) | (kindIndex(e.kind) << 5) | ((delay >> 16) & 0x1F));
    out[1] = static_cast<std::uint8_t>(e.code & 0xFF);
    out[2] = static_cast<std::uint8_t>(e.code >> 8);
    out[3] = static_cast<std::uint8_t>(delay & 0xFF);
    out[4] = static_cast<std::uint8_t>((delay >> 8) & 0xFF);
}

KeyEvent getEvent(const std::uint8_t *in)
{
    KeyEvent e;
    e.action = static_cast<unsigned char>(in[0] >> 7);
    e.kind = kKindOfIndex[(in[0] >> 5) & 3];
    e.code = static_cast<std::uint16_t>(in[1] | (in[2] << 8));
    e.delay = static_cast<std::uint32_t>(in[3]) | (static_cast<std::uint32_t>(in[4]) << 8)
              | (static_cast<std::uint32_t>(in[0] & 0x1F) << 16);
    return e;
}

} // namespace

bool representable(const KeyEvent &e)
{
    return e.action <= 1 && kindIndex(e.kind) >= 0 && e.delay <= kMaxDelay;
}

namespace {

// Macro slots past the macro's event count hold nothing the mouse plays;
// whatever stale bytes they carry (an old cache, an import) must neither stop
// the record from travelling nor reach the image in a form that cannot be
// encoded.
void putSlot(const KeyEvent &e, bool used, std::uint8_t *out)
{
    if (used || representable(e))
        putEvent(e, out);
    else
        std::memset(out, 0, 5);
}

} // namespace

bool recordToImage(const FlashDataMap &record, std::uint8_t *image, std::string *why)
{
    for (int b = 0; b < 16; ++b) {
        for (int k = 0; k < 6; ++k) {
            if (!representable(record.keyCombos[b].events[k])) {
                if (why)
                    *why = "key sequence of button " + std::to_string(b) + ", event " + std::to_string(k);
                return false;
            }
        }
        const int macroUsed = std::min<int>(record.macros[b].slotCount, 70);
        for (int k = 0; k < macroUsed; ++k) {
            if (!representable(record.macros[b].events[k])) {
                if (why)
                    *why = "macro of button " + std::to_string(b) + ", event " + std::to_string(k);
                return false;
            }
        }
    }
    std::uint8_t out[kImageSize];
    std::memset(out, 0, sizeof out);
    std::memcpy(out, &record, kComboBase);
    for (int b = 0; b < 16; ++b) {
        const KeyComboRecord &c = record.keyCombos[b];
        std::uint8_t *p = out + kComboBase + b * kComboSize;
        p[0] = c.count;
        std::memcpy(p + 1, c.reserved, 3);
        for (int k = 0; k < 6; ++k)
            putEvent(c.events[k], p + 4 + 5 * k);
    }
    for (int b = 0; b < 16; ++b) {
        const MacroRecord &m = record.macros[b];
        std::uint8_t *p = out + kMacroBase + b * kMacroSize;
        p[0] = m.nameLength;
        std::memcpy(p + 1, m.name, 30);
        p[31] = m.slotCount;
        for (int k = 0; k < 70; ++k)
            putSlot(m.events[k], k < m.slotCount, p + 32 + 5 * k);
    }
    std::memcpy(out + kTagOffset, kTag, 4);
    std::memcpy(image, out, kImageSize);
    return true;
}

bool imageToRecord(const std::uint8_t *image, std::size_t length, FlashDataMap *record)
{
    if (!image || !record || length != static_cast<std::size_t>(kImageSize))
        return false;
    if (std::memcmp(image + kTagOffset, kTag, 4) != 0)
        return false;
    FlashDataMap r;
    std::memset(&r, 0, sizeof r);
    std::memcpy(&r, image, kComboBase);
    for (int b = 0; b < 16; ++b) {
        KeyComboRecord &c = r.keyCombos[b];
        const std::uint8_t *p = image + kComboBase + b * kComboSize;
        c.count = p[0];
        std::memcpy(c.reserved, p + 1, 3);
        for (int k = 0; k < 6; ++k)
            c.events[k] = getEvent(p + 4 + 5 * k);
    }
    for (int b = 0; b < 16; ++b) {
        MacroRecord &m = r.macros[b];
        const std::uint8_t *p = image + kMacroBase + b * kMacroSize;
        m.nameLength = p[0];
        std::memcpy(m.name, p + 1, 30);
        m.slotCount = p[31];
        for (int k = 0; k < 70; ++k)
            m.events[k] = getEvent(p + 32 + 5 * k);
    }
    std::memcpy(record, &r, sizeof r);
    return true;
}

FlashDataMap factoryRecord()
{
    FlashDataMap r;
    std::memset(&r, 0, sizeof r);
    r.reportRate = 1; // 1000 Hz
    r.dpiStageCount = 4;
    r.activeDpiStage = 1;
    r.liftOffDistance = 1; // 1 mm
    r.debounceTime = 4;
    r.sleepTime = 6; // 60 s
    r.performanceTime = 1;
    r.wheelDebounce = 10;
    r.releaseDebounce = 4;
    static const unsigned char codes[8] = {0x09, 0x13, 0x27, 0x4F, 0x63, 0x77, 0x9F, 0xC7};
    static const unsigned char colours[8][3] = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},     {255, 255, 0},
                                                {0, 255, 255}, {255, 0, 255}, {255, 255, 255}, {255, 128, 0}};
    for (int i = 0; i < 8; ++i) {
        r.dpiStages[i].xCode = codes[i];
        r.dpiStages[i].yCode = codes[i];
        r.dpiStages[i].codeFlags = 0;
        r.dpiStages[i].red = colours[i][0];
        r.dpiStages[i].green = colours[i][1];
        r.dpiStages[i].blue = colours[i][2];
    }
    r.dpiLed = DpiLedMode{1, 255, 3, 1};
    r.mouseLight = LedBarMode{1, 255, 0, 0, 4, 9, 1};
    // left, right, middle, back, forward, DPI cycle
    static const ButtonFunction buttons[6] = {{1, 1, 0}, {1, 2, 0}, {1, 4, 0}, {1, 8, 0}, {1, 16, 0}, {2, 1, 0}};
    for (int b = 0; b < 6; ++b)
        r.buttonFunctions[b] = buttons[b];
    return r;
}

} // namespace dump
} // namespace hidusb
