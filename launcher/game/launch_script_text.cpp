#include "launcher/game/launch_script_text.h"

namespace {

// The sizes that differ between the memory tiers (the heap size goes to both -Xmx and -Xms).
struct TierSizes {
    const char* heap;
    const char* directMemory;
    const char* permSize;
    const char* maxPermSize;
};

bool SizesOfTier(int tier, TierSizes& sizes) {
    switch (tier) {
        case 0: sizes = {"512M", "96m", "96m", "160m"}; return true;
        case 1: sizes = {"768M", "112m", "128m", "192m"}; return true;
        case 2: sizes = {"900M", "128m", "192m", "256m"}; return true;
        case 5: sizes = {"320M", "92m", "64m", "128m"}; return true;
        default: return false;
    }
}

constexpr char kClassPath[] =
    "core.jar;lib/antlr.jar;lib/aopalliance.jar;lib/args4j.jar;lib/gluegen-rt.jar;lib/gson.jar;lib/guava.jar;"
    "lib/guice-assistedinject.jar;lib/guice.jar;lib/javax.inject.jar;lib/jdom.jar;lib/jogl.jar;lib/log4j.jar;"
    "lib/logback-classic.jar;lib/logback-core.jar;lib/luajava.jar;lib/lwjgl.jar;lib/MozillaInterfaces.jar;"
    "lib/netty.jar;lib/swt-win32_x86.jar";

// Every token is preceded by one space; the text ends with a space, CR, LF and the
// script's self-deletion.
std::string OptionText(const TierSizes& s) {
    std::string text;
    auto token = [&text](const std::string& value) {
        text += ' ';
        text += value;
    };
    token("-XX:+IgnoreUnrecognizedVMOptions");
    token(std::string("-Xmx") + s.heap);
    token(std::string("-Xms") + s.heap);
    token(std::string("-XX:MaxDirectMemorySize=") + s.directMemory);
    token(std::string("-XX:PermSize=") + s.permSize);
    token(std::string("-XX:MaxPermSize=") + s.maxPermSize);
    token("-XX:+UseConcMarkSweepGC");
    token("-XX:+CMSIncrementalMode");
    token("-XX:MaxGCPauseMillis=30");
    token("-XX:MaxTenuringThreshold=0");
    token("-XX:+UseTLAB");
    token("-XX:+DoEscapeAnalysis");
    token("-Dsun.awt.noerasebackground=true");
    token("-Dsun.java2d.noddraw=true");
    token("-Djava.net.preferIPv4Stack=true");
    token("-d32");
    token("-cp");
    token(kClassPath);
    token("-Djava.library.path=natives/win32/x86");
    token("com.ankamagames.wakfu.client.WakfuClient");
    token("-L");
    token("zh");
    token("-C");
    token("CN");
    token("-n");
    token("\"C:/Users/%user_name%/AppData/Local/Ankama/WakfuChina/carousel\"");
    token("-p");
    token("\"C:/Users/%user_name%/AppData/Local/Ankama/WakfuChina/game\"");
    token("--install-folder");
    token("\"%game_directory%/game\"");
    text += " \r\ndel %0 ";
    return text;
}

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Makes `text` reach cmd unchanged. Outside double quotes cmd acts on ^ & | < > (a
// folder named "Tom & Jerry" would otherwise run "Jerry"), inside them only on %; in
// a batch file % is written %%. Double-byte characters are copied whole: their second
// byte may equal one of these characters.
std::string EscapeForCmd(const std::string& text, bool insideQuotes) {
    std::string out;
    out.reserve(text.size() + 8);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < text.size()) {
            out += c;
            out += text[++i];
            continue;
        }
        if (c == '%') {
            out += '%';
        } else if (!insideQuotes && (c == '^' || c == '&' || c == '|' || c == '<' || c == '>')) {
            out += '^';
        }
        out += c;
    }
    return out;
}

}  // namespace

std::string BuildLaunchScriptText(int tier, const std::string& scriptFolder, const std::string& userName) {
    TierSizes sizes{};
    if (!SizesOfTier(tier, sizes)) return {};
    std::string text;
    text += "set game_directory=" + EscapeForCmd(scriptFolder, false) + "\n";
    text += "set user_name=" + EscapeForCmd(userName, false) + "\n";
    text += "Start \"wakfu\" ";
    text += '"';
    text += EscapeForCmd(scriptFolder, true);
    text += "/game/jre/win32/x86/bin/javaw.exe\"";
    text += OptionText(sizes);
    return text;
}

std::string ToTextModeBytes(const std::string& text) {
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 32 + 4);
    for (const char c : text) {
        if (c == '\n') bytes += '\r';
        bytes += c;
    }
    return bytes;
}
