// Writing the trace line, key by key in the order the replay format fixes.
#include "tools/replay/trace.h"

#include <cctype>
#include <charconv>
#include <cstdio>

#include "app/cqzlwnd.h"
#include "game/cgameprobe.h"
#include "platform/headless/headless_host.h"
#include "platform/latin1.h"
#include "settings/language.h"

namespace {

class Json {
public:
    Json &Raw(std::string_view s) {
        m_s += s;
        return *this;
    }
    Json &Int(long long n) {
        m_s += std::to_string(n);
        return *this;
    }
    // The shortest text that reads back as the same double.
    Json &Double(double d) {
        char buf[64];
        auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d);
        m_s.append(buf, ec == std::errc() ? end : buf);
        return *this;
    }
    Json &Str(const std::string &latin1) {
        m_s += JsonString(latin1);
        return *this;
    }
    const std::string &Text() const { return m_s; }

private:
    std::string m_s;
};

std::string LowerName(const CBitmap *pBitmap) {
    std::string name = pBitmap ? pBitmap->GetName() : std::string();
    for (char &c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

} // namespace

std::string JsonString(const std::string &latin1) {
    std::string out = "\"";
    for (unsigned char c : latin1) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                AppendUtf8(out, c);
            }
        }
    }
    out += '"';
    return out;
}

std::string TraceLine(CQZLWnd &wnd, HeadlessHost &host, long long tMs) {
    CGameProbe probe(wnd.GetGame());
    Json j;
    j.Raw("{\"t\":").Int(tMs);
    j.Raw(",\"lang\":").Int(LanguageIndex);
    j.Raw(",\"score\":").Int(probe.Score());
    j.Raw(",\"high\":").Int(probe.HighScore());
    j.Raw(",\"balls\":").Int(probe.Balls());
    j.Raw(",\"running\":").Int(probe.Running());
    j.Raw(",\"started\":").Int(probe.Started());
    j.Raw(",\"wall_ms\":").Int(wnd.GetWallInterval());

    j.Raw(",\"timers\":{");
    bool first = true;
    for (const auto &[id, timer] : wnd.GetTimers().All()) {
        j.Raw(first ? "\"" : ",\"").Int(id).Raw("\":").Int(timer.periodMs);
        first = false;
    }
    j.Raw("}");

    CSprite &paddle = probe.Paddle();
    j.Raw(",\"paddle\":{\"x\":").Int(paddle.GetX());
    j.Raw(",\"y\":").Int(paddle.GetY());
    j.Raw(",\"visible\":").Int(paddle.IsVisible() ? 1 : 0).Raw("}");

    CSSprite &ball = probe.Ball();
    j.Raw(",\"ball\":{\"x\":").Double(ball.GetRealX());
    j.Raw(",\"y\":").Double(ball.GetRealY());
    j.Raw(",\"dx\":").Double(ball.GetDX());
    j.Raw(",\"dy\":").Double(ball.GetDY());
    j.Raw(",\"visible\":").Int(ball.IsVisible() ? 1 : 0).Raw("}");

    j.Raw(",\"row_y\":").Int(probe.RowY());
    j.Raw(",\"row_index\":").Int(probe.RowIndex());

    j.Raw(",\"rows\":[");
    for (int slot = 0; slot < CGame::ROW_SLOTS; ++slot) {
        CBrick &row = probe.Row(slot);
        if (slot)
            j.Raw(",");
        if (row.GetCount() == 0 || row.m_pSprites == nullptr) {
            j.Raw("{\"bitmap\":null}");
            continue;
        }
        CSprite &first = row.m_pSprites[0];
        j.Raw("{\"bitmap\":").Str(LowerName(first.GetBitmap()));
        j.Raw(",\"x\":").Int(first.GetX());
        j.Raw(",\"y\":").Int(first.GetY());
        std::string visible;
        for (int k = 0; k < row.GetCount(); ++k)
            visible += row.m_pSprites[k].IsVisible() ? '1' : '0';
        j.Raw(",\"visible\":").Str(visible).Raw("}");
    }
    j.Raw("]");

    CSpecial &bonus = probe.Bonus();
    const bool chosen = bonus.GetBitmap() != nullptr;
    j.Raw(",\"bonus\":{\"bitmap\":");
    if (chosen)
        j.Str(LowerName(bonus.GetBitmap()));
    else
        j.Raw("null");
    j.Raw(",\"x\":").Int(bonus.GetX());
    j.Raw(",\"y\":").Int(bonus.GetY());
    j.Raw(",\"value\":");
    if (chosen)
        j.Int(bonus.GetValue());
    else
        j.Raw("null");
    j.Raw(",\"visible\":").Int(bonus.IsVisible() ? 1 : 0).Raw("}");

    j.Raw(",\"sounds\":[");
    first = true;
    for (const std::string &sound : host.Sounds()) {
        j.Raw(first ? "" : ",").Str(sound);
        first = false;
    }
    host.Sounds().clear();
    j.Raw("]");

    j.Raw(",\"boxes\":[");
    first = true;
    for (const HeadlessHost::Box &box : host.Boxes()) {
        j.Raw(first ? "[" : ",[").Str(box.caption).Raw(",").Str(box.text).Raw("]");
        first = false;
    }
    host.Boxes().clear();
    j.Raw("]}");
    return j.Text();
}
