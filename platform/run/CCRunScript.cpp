#include "CCRunScript.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

namespace {

struct Token {
    std::string text;
    bool quoted = false;
};

// Splits at blanks; double quotes group words (\" and \\ inside them); # starts a comment.
bool tokenize(const std::string& line, std::vector<Token>& tokens, std::string& problem) {
    std::size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            Token t{"", true};
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char d = line[i++];
                if (d == '"') {
                    closed = true;
                    break;
                }
                if (d == '\\' && i < line.size()) d = line[i++];
                t.text += d;
            }
            if (!closed) {
                problem = "unterminated quoted text";
                return false;
            }
            tokens.push_back(std::move(t));
        } else {
            Token t;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '#')
                t.text += line[i++];
            tokens.push_back(std::move(t));
        }
    }
    return true;
}

bool toDouble(const Token& t, double& out) {
    if (t.quoted || t.text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    out = std::strtod(t.text.c_str(), &end);
    return errno == 0 && end && *end == '\0' && std::isfinite(out);
}

bool toCount(const Token& t, long long& out) {
    if (t.quoted || t.text.empty() || !std::all_of(t.text.begin(), t.text.end(), [](char c) {
            return c >= '0' && c <= '9';
        }))
        return false;
    errno = 0;
    out = std::strtoll(t.text.c_str(), nullptr, 10);
    return errno == 0;
}

// "12" is frame 12; "0.5s" is the frame that time falls in.
bool toFrame(const Token& t, uint64_t& frame) {
    long long n = 0;
    if (toCount(t, n)) {
        frame = static_cast<uint64_t>(n);
        return true;
    }
    if (t.quoted || t.text.size() < 2 || t.text.back() != 's') return false;
    Token number{t.text.substr(0, t.text.size() - 1), false};
    double seconds = 0;
    if (!toDouble(number, seconds) || seconds < 0 || seconds > 1e9) return false;
    frame = static_cast<uint64_t>(std::llround(seconds * CCRunScript::kFramesPerSecond));
    return true;
}

class LineParser {
public:
    LineParser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}
    std::string problem;

    bool parse(CCRunAction& a, std::set<long>& down) {
        if (!toFrame(tokens_[0], a.frame)) return fail("expected a frame number or a time such as 2.5s, found \"" +
                                                       tokens_[0].text + "\"");
        if (tokens_.size() < 2) return fail("expected a command after the frame");
        const std::string& command = tokens_[1].text;
        next_ = 2;
        if (command == "tap") {
            a.kind = CCRunAction::Tap;
            if (!point(a, true)) return false;
        } else if (command == "down" || command == "move" || command == "up") {
            a.kind = command == "down" ? CCRunAction::Down : command == "move" ? CCRunAction::Move : CCRunAction::Up;
            if (!finger(a)) return false;
            if (!point(a, a.kind != CCRunAction::Up)) return false;
            bool isDown = down.count(a.finger) != 0;
            if (a.kind == CCRunAction::Down && isDown)
                return fail("finger " + std::to_string(a.finger) + " is already down");
            if (a.kind != CCRunAction::Down && !isDown)
                return fail("finger " + std::to_string(a.finger) + " is not down");
            if (a.kind == CCRunAction::Down) down.insert(a.finger);
            if (a.kind == CCRunAction::Up) down.erase(a.finger);
        } else if (command == "tilt" || command == "reading") {
            a.kind = command == "tilt" ? CCRunAction::Tilt : CCRunAction::Reading;
            if (!number(a.x, "x") || !number(a.y, "y") || !number(a.z, "z")) return false;
        } else if (command == "focus") {
            a.kind = CCRunAction::Focus;
            if (next_ >= tokens_.size() || (tokens_[next_].text != "in" && tokens_[next_].text != "out"))
                return fail("expected in or out after focus");
            a.focused = tokens_[next_++].text == "in";
            // Losing focus cancels every finger.
            if (!a.focused) down.clear();
        } else if (command == "work") {
            a.kind = CCRunAction::Work;
            long long number = 0;
            if (next_ >= tokens_.size() || !toCount(tokens_[next_], number) || number < 1 || number > INT32_MAX)
                return fail("expected the number of a piece of background work (1 or more)");
            a.index = static_cast<int>(number);
            ++next_;
        } else if (command == "clock") {
            a.kind = CCRunAction::Clock;
            long long seconds = 0, micros = 0;
            if (next_ + 1 >= tokens_.size() || !toCount(tokens_[next_], seconds) ||
                !toCount(tokens_[next_ + 1], micros) || seconds > INT32_MAX || micros > 999999)
                return fail("expected the clock's seconds and microseconds (two whole numbers)");
            a.time.tv_sec = static_cast<int32_t>(seconds);
            a.time.tv_usec = static_cast<int32_t>(micros);
            next_ += 2;
        } else if (command == "alert") {
            a.kind = CCRunAction::Alert;
            if (!buttonChoice(a, true)) return false;
        } else if (command == "button") {
            a.kind = CCRunAction::Button;
            if (!buttonChoice(a, false)) return false;
        } else if (command == "screenshot") {
            a.kind = CCRunAction::Screenshot;
            if (a.frame == 0) return fail("screenshots are taken after a frame: use frame 1 or later");
            if (next_ >= tokens_.size() || tokens_[next_].text.empty()) return fail("expected the screenshot's file name");
            a.text = tokens_[next_++].text;
        } else if (command == "quit") {
            a.kind = CCRunAction::Quit;
        } else {
            return fail("unknown command \"" + command + "\"");
        }
        if (next_ < tokens_.size()) return fail("unexpected \"" + tokens_[next_].text + "\" after the " + command);
        return true;
    }

private:
    bool fail(std::string what) {
        problem = std::move(what);
        return false;
    }
    bool number(double& out, const char* what) {
        if (next_ >= tokens_.size()) return fail(std::string("expected ") + what);
        if (!toDouble(tokens_[next_], out))
            return fail(std::string("expected a number for ") + what + ", found \"" + tokens_[next_].text + "\"");
        ++next_;
        return true;
    }
    bool finger(CCRunAction& a) {
        long long id = 0;
        if (next_ >= tokens_.size() || !toCount(tokens_[next_], id) || id > 1'000'000)
            return fail("expected a finger number (0 to 1000000)");
        a.finger = static_cast<long>(id);
        ++next_;
        return true;
    }
    // [scene|view] X Y
    bool point(CCRunAction& a, bool required) {
        if (!required && next_ >= tokens_.size()) return true;
        if (next_ < tokens_.size() && !tokens_[next_].quoted &&
            (tokens_[next_].text == "view" || tokens_[next_].text == "scene")) {
            a.viewPoint = tokens_[next_].text == "view";
            ++next_;
        }
        double x = 0, y = 0;
        if (!number(x, "x") || !number(y, "y")) return false;
        a.point = CGPointMake(static_cast<float>(x), static_cast<float>(y));
        a.hasPoint = true;
        return true;
    }
    // A button index (alerts only) or a title.
    bool buttonChoice(CCRunAction& a, bool indexAllowed) {
        if (next_ >= tokens_.size()) return fail(indexAllowed ? "expected a button index or title" : "expected a button title");
        const Token& t = tokens_[next_++];
        long long index = 0;
        if (indexAllowed && toCount(t, index) && index < 1000) a.index = static_cast<int>(index);
        else a.text = t.text;
        return true;
    }

    std::vector<Token> tokens_;
    std::size_t next_ = 0;
};

} // namespace

std::optional<CCRunScript> CCRunScript::parse(const std::string& text, const std::string& name, std::string* error) {
    CCRunScript script;
    std::set<long> down;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    uint64_t lastFrame = 0;
    auto fail = [&](const std::string& what) {
        if (error) *error = name + ":" + std::to_string(number) + ": " + what;
        return std::nullopt;
    };
    while (std::getline(in, line)) {
        ++number;
        std::vector<Token> tokens;
        std::string problem;
        if (!tokenize(line, tokens, problem)) return fail(problem);
        if (tokens.empty()) continue;
        CCRunAction action;
        action.line = number;
        LineParser parser(std::move(tokens));
        if (!parser.parse(action, down)) return fail(parser.problem);
        // Out of order lines are almost always a typing error; refusing them keeps the
        // finger bookkeeping above true.
        if (action.frame < lastFrame)
            return fail("frame " + std::to_string(action.frame) + " comes before frame " + std::to_string(lastFrame) +
                        " of an earlier line");
        lastFrame = action.frame;
        script.actions_.push_back(std::move(action));
    }
    return script;
}

std::optional<CCRunScript> CCRunScript::load(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error) *error = "cannot read the script \"" + path + "\": " + std::strerror(errno);
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return parse(text.str(), path, error);
}
