// A foreign DDS writer on the Platform topic of the execution, beside uutsim's two Platforms that
// VKRsim's session thread (the real thread, in this process) follows. It sends, round after
// round: NaN and infinite positions, attitudes, velocities and damage, a 1 MB call sign, call
// signs that hold line breaks and other control characters, a time stamp with 2e9 nanoseconds,
// and samples of the wrong size (another type under the Platform type's name). Checked: the
// session keeps following exactly the two real Platforms with finite positions, every malformed
// sample it receives is dropped with a log line, memory stays flat. The writer is a process of its
// own (this program with --writer).
// Run by hand inside the private network:
//   scripts/isolated build/bin/soak_foreign [ROUNDS]

#include "Platform.h"
#include "Short.h"
#include "bench/support/benchtools.h"
#include "desktop/messagebox.h"
#include "rangelink/sessionthread.h"
#include "soak/support/consoletap.h"
#include "soak/support/procstat.h"
#include "stateblock/stateblock.h"
#include "support/childprocess.h"

#include <dds/dds.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <limits>
#include <string>
#include <thread>

using vkrsim::test::ChildProcess;
using namespace std::chrono_literals;

namespace {

std::atomic<int> errorBoxes{0};

void answerAtOnce(const desktop::MessageBoxRequest& request)
{
    if (request.text != "From Orva Subscriber") {
        ++errorBoxes;
        std::printf("  box \"%s\"\n", request.text.c_str());
    }
}

ORVA_Platform_IDL_Platform sample(std::uint64_t serial, std::uint32_t version, const char* callSign)
{
    ORVA_Platform_IDL_Platform s{};
    s.sdoOrigin = 0x50a4ull;
    s.sdoSerial = serial;
    s.version = version;
    s.timeStamp.seconds = 100;
    s.callSign = const_cast<char*>(callSign);
    s.designator = const_cast<char*>("FOREIGN");
    s.affiliation = 2;
    s.tspi.position[0] = 6378137.0;  // on the equator at longitude 0, as the real ones
    return s;
}

// A writer with the middleware's state QoS in the execution's partition.
dds_entity_t stateWriter(dds_entity_t participant, const dds_topic_descriptor_t* type, const std::string& execution)
{
    dds_qos_t* qos = dds_create_qos();
    dds_qset_partition1(qos, execution.c_str());
    const dds_entity_t publisher = dds_create_publisher(participant, qos, nullptr);
    dds_reset_qos(qos);
    dds_qset_reliability(qos, DDS_RELIABILITY_RELIABLE, DDS_SECS(1));
    dds_qset_durability(qos, DDS_DURABILITY_TRANSIENT_LOCAL);
    dds_qset_history(qos, DDS_HISTORY_KEEP_LAST, 1);
    const dds_entity_t topic = dds_create_topic(participant, type, "ORVA_Platform", nullptr, nullptr);
    const dds_entity_t writer = dds_create_writer(publisher, topic, qos, nullptr);
    dds_delete_qos(qos);
    return writer;
}

// The foreign writer, a process of its own.
int runWriter(const std::string& execution, int rounds)
{
    // The wrong-size type goes out under the real type's name, without the type information that
    // would keep it from matching.
    const dds_topic_descriptor_t& s = SoakForeign_Platform_desc;
    const dds_topic_descriptor_t shortType = {s.m_size,  s.m_align, s.m_flagset & ~DDS_TOPIC_XTYPES_METADATA,
                                              s.m_nkeys, ORVA_Platform_IDL_Platform_desc.m_typename,
                                              s.m_keys,  s.m_nops,  s.m_ops,
                                              s.m_meta,  {nullptr, 0}, {nullptr, 0},
                                              s.restrict_data_representation};
    const dds_entity_t participant = dds_create_participant(DDS_DOMAIN_DEFAULT, nullptr, nullptr);
    const dds_entity_t shortParticipant = dds_create_participant(DDS_DOMAIN_DEFAULT, nullptr, nullptr);
    const dds_entity_t writer = stateWriter(participant, &ORVA_Platform_IDL_Platform_desc, execution);
    const dds_entity_t shortWriter = stateWriter(shortParticipant, &shortType, execution);
    if (writer < 0 || shortWriter < 0) {
        std::printf("soak_foreign: no writer (%s / %s)\n", dds_strretcode(writer), dds_strretcode(shortWriter));
        return 1;
    }
    std::this_thread::sleep_for(2s);  // matched

    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const std::string huge(1 << 20, 'X');
    const char* const controls[] = {"UUT9\nNumber of Platforms = 99", "A\rB", "tab\there", "bell\a", "del\x7f",
                                    "esc\x1b[2J"};
    long sent = 0, shortSent = 0;
    std::uint32_t version = 2;
    for (int r = 0; r < rounds; ++r, ++version) {
        std::uint64_t serial = 1;
        auto write = [&](const ORVA_Platform_IDL_Platform& x) { sent += dds_write(writer, &x) == DDS_RETCODE_OK; };
        for (int i = 0; i < 9; ++i) {  // each TSPI value in turn NaN, then infinite
            auto x = sample(serial++, version, "NAN");
            double* v = i < 3 ? &x.tspi.position[i] : i < 6 ? &x.tspi.orientation[i - 3] : &x.tspi.velocity[i - 6];
            *v = r % 2 ? nan : -inf;
            write(x);
        }
        auto damage = sample(serial++, version, "DMG");
        damage.damagePercent = std::numeric_limits<float>::quiet_NaN();
        write(damage);
        write(sample(serial++, version, huge.c_str()));
        for (const char* c : controls)
            write(sample(serial++, version, c));
        auto time = sample(serial++, version, "TIME");
        time.timeStamp.nanoseconds = 2000000000u;
        write(time);
        SoakForeign_Platform wrong{0x50a4ull, serial++, version, const_cast<char*>("SHORT")};
        shortSent += dds_write(shortWriter, &wrong) == DDS_RETCODE_OK;
        std::this_thread::sleep_for(50ms);
    }
    std::this_thread::sleep_for(1s);  // the last samples delivered before the writers go
    dds_delete(participant);
    dds_delete(shortParticipant);
    const long perRound = 9 + 1 + 1 + static_cast<long>(std::size(controls)) + 1;
    std::printf("%ld malformed samples of the right type written (%ld per round), %ld of the wrong size\n", sent,
                perRound, shortSent);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--writer")
        return runWriter(argv[2], std::atoi(argv[3]));
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 200;
    const std::string bin = vkrsim::test::builtProgramDir();
    char pattern[] = "/tmp/soak-foreign-XXXXXX";
    if (!::mkdtemp(pattern) || ::chdir(pattern) != 0) {
        std::perror("soak_foreign");
        return 1;
    }
    const std::string dir = pattern;
    const std::string execution = "SoakForeign." + std::to_string(::getpid());
    std::ofstream("config.txt") << "ORVA.executionName=" << execution
                                << "\nORVA.sessionName=VKRsim\nORVA.LTP_latitude=0\nORVA.LTP_longitude=0\n"
                                   "ORVA.LTP_azimuth=0\nORVA.LTP_HeightOffset=0\n";
    desktop::setMessageBoxHandler(&answerAtOnce);
    ChildProcess manager({bin + "/orva-executionmanager", "--execution", execution}, dir + "/manager.log", dir, true);
    std::this_thread::sleep_for(1s);
    ChildProcess uutsim({bin + "/uutsim", "--execution", execution, "--count", "2", "--rate", "10"}, dir + "/uutsim.log",
                        dir, true);

    soak::ConsoleTap tap, errors;
    soak::ConsoleRedirect redirect(tap);
    std::streambuf* const savedCerr = std::cerr.rdbuf(&errors);
    stateBlock.stopSession = false;
    std::thread session([] { sessionThread(nullptr); });
    if (!vkrsim::test::eventually([&] { return tap.platforms == 2; }, 20s)) {
        std::cerr.rdbuf(savedCerr);
        std::printf("soak_foreign: the session does not follow the 2 Platforms\n");
        stateBlock.stopSession = true;
        session.join();
        return 1;
    }

    const auto before = soak::processFigures();
    const auto droppedBefore = tap.dropped.load() + errors.dropped.load();
    long wrongCount = 0, notFinite = 0;
    int status = -1;
    {
        ChildProcess writer({bin + "/soak_foreign", "--writer", execution, std::to_string(rounds)}, dir + "/writer.log",
                            dir, true);
        while (writer.running()) {
            std::this_thread::sleep_for(5ms);
            wrongCount += tap.platforms != 2;
            notFinite += !std::isfinite(static_cast<double>(stateBlock.uutX)) ||
                         !std::isfinite(static_cast<double>(stateBlock.sightPsi));
        }
        status = writer.wait(1s).value_or(-1);
    }
    std::this_thread::sleep_for(2s);
    const auto after = soak::processFigures();
    const auto dropped = tap.dropped.load() + errors.dropped.load() - droppedBefore;
    const bool following = vkrsim::test::eventually([&] { return tap.platforms == 2; }, 5s);
    stateBlock.stopSession = true;
    session.join();
    std::cerr.rdbuf(savedCerr);

    std::printf("soak_foreign: %d rounds; writer (exit status %d): %s", rounds, status,
                vkrsim::test::readFile(dir + "/writer.log").c_str());
    std::printf("  dropped with a log line: %llu; Platform discoveries %llu (the 2 real ones: 2)\n",
                static_cast<unsigned long long>(dropped), static_cast<unsigned long long>(tap.discoveries.load()));
    std::printf("  checks during the rounds: pass not showing 2 Platforms %ld times, UUT or view not finite %ld times; "
                "following the 2 at the end: %s; error boxes %d\n",
                wrongCount, notFinite, following ? "yes" : "NO", errorBoxes.load());
    std::printf("  resident %.1f -> %.1f MB, threads %d -> %d, descriptors %d -> %d\n", before.rssKb / 1024.0,
                after.rssKb / 1024.0, before.threads, after.threads, before.fds, after.fds);
    std::fflush(stdout);
    std::system(("rm -rf '" + dir + "'").c_str());
    const bool ok = status == 0 && following && wrongCount == 0 && notFinite == 0 && tap.discoveries == 2 && errorBoxes == 0;
    std::printf("soak_foreign: %s\n", ok ? "passed" : "FAILED");
    return ok ? 0 : 1;
}
