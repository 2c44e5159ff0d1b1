// The launch script byte for byte as the game expects it, per memory tier, for a
// game folder in script form F and a user name U.
#pragma once

#include <string>

namespace game_test {

inline const char kClassPathGolden[] =
    "core.jar;lib/antlr.jar;lib/aopalliance.jar;lib/args4j.jar;lib/gluegen-rt.jar;lib/gson.jar;lib/guava.jar;"
    "lib/guice-assistedinject.jar;lib/guice.jar;lib/javax.inject.jar;lib/jdom.jar;lib/jogl.jar;lib/log4j.jar;"
    "lib/logback-classic.jar;lib/logback-core.jar;lib/luajava.jar;lib/lwjgl.jar;lib/MozillaInterfaces.jar;"
    "lib/netty.jar;lib/swt-win32_x86.jar";

// The JVM options of each tier, exactly as the Start line carries them after the program.
inline std::string TierOptionsGolden(int tier) {
    const std::string tail = std::string(
                                 " -XX:+UseConcMarkSweepGC -XX:+CMSIncrementalMode -XX:MaxGCPauseMillis=30"
                                 " -XX:MaxTenuringThreshold=0 -XX:+UseTLAB -XX:+DoEscapeAnalysis"
                                 " -Dsun.awt.noerasebackground=true -Dsun.java2d.noddraw=true"
                                 " -Djava.net.preferIPv4Stack=true -d32 -cp ") +
                             kClassPathGolden +
                             " -Djava.library.path=natives/win32/x86 com.ankamagames.wakfu.client.WakfuClient"
                             " -L zh -C CN"
                             " -n \"C:/Users/%user_name%/AppData/Local/Ankama/WakfuChina/carousel\""
                             " -p \"C:/Users/%user_name%/AppData/Local/Ankama/WakfuChina/game\""
                             " --install-folder \"%game_directory%/game\"";
    switch (tier) {
        case 0:
            return " -XX:+IgnoreUnrecognizedVMOptions -Xmx512M -Xms512M -XX:MaxDirectMemorySize=96m"
                   " -XX:PermSize=96m -XX:MaxPermSize=160m" + tail;
        case 1:
            return " -XX:+IgnoreUnrecognizedVMOptions -Xmx768M -Xms768M -XX:MaxDirectMemorySize=112m"
                   " -XX:PermSize=128m -XX:MaxPermSize=192m" + tail;
        case 2:
            return " -XX:+IgnoreUnrecognizedVMOptions -Xmx900M -Xms900M -XX:MaxDirectMemorySize=128m"
                   " -XX:PermSize=192m -XX:MaxPermSize=256m" + tail;
        case 5:
            return " -XX:+IgnoreUnrecognizedVMOptions -Xmx320M -Xms320M -XX:MaxDirectMemorySize=92m"
                   " -XX:PermSize=64m -XX:MaxPermSize=128m" + tail;
        default:
            return {};
    }
}

// The file's bytes: both set lines end CR LF, the Start line ends with a space and
// CR CR LF (text mode doubles the CR the script text carries), the last line has no end.
inline std::string ScriptFileGolden(int tier, const std::string& folder, const std::string& user) {
    return "set game_directory=" + folder + "\r\n" + "set user_name=" + user + "\r\n" + "Start \"wakfu\" \"" + folder +
           "/game/jre/win32/x86/bin/javaw.exe\"" + TierOptionsGolden(tier) + " \r\r\ndel %0 ";
}

}  // namespace game_test
