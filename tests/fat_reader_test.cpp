// SPDX-License-Identifier: MIT
// The image as real FAT readers see it: the volume is the image's first
// half, handed to mtools and to fsck.fat, which share no code with the program.
#include <gtest/gtest.h>

#include <string>

#include "expected_console.hpp"
#include "expected_image.hpp"
#include "run_support.hpp"
#include "test_support.hpp"

namespace {

const std::string mtools_dir = MTOOLS_DIR;      // where mdir, minfo and the rest live
const std::string fsck_fat = FSCK_FAT_PROGRAM;  // empty when dosfstools is missing

class FatReaders : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        work = new support::TempDir;
        const process::Outcome outcome = process::run(run::blankimg_in(work->path));
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        expected::Bytes image = support::read_file(*work / "BLANKIMG.ROM");
        image.resize(expected::volume_size);
        support::write_file(volume(), image);
    }
    static void TearDownTestSuite() {
        delete work;
        work = nullptr;
    }
    void SetUp() override {
        if (!run::have_faketime()) {
            GTEST_SKIP() << "libfaketime is not installed: the image's stamp cannot be fixed";
        }
    }

    static std::string volume() { return *work / "volume.img"; }

    // An mtools command on the volume; skips when mtools is missing.
    static process::Outcome mtools(const std::string& command, std::vector<std::string> args) {
        process::Launch launch;
        launch.program = mtools_dir + "/" + command;
        launch.args = {"-i", volume()};
        launch.args.insert(launch.args.end(), args.begin(), args.end());
        launch.dir = work->path;
        launch.env = {"LC_ALL=C", "MTOOLSRC=/dev/null"};
        return process::run(launch);
    }

    static void require_mtools() {
        if (mtools_dir.empty()) {
            GTEST_SKIP() << "mtools is not installed";
        }
    }

    static support::TempDir* work;
};

support::TempDir* FatReaders::work = nullptr;

TEST_F(FatReaders, MdirFindsTheLabelTheHiddenFileAndTheFreeSpace) {
    require_mtools();
    const process::Outcome listing = mtools("mdir", {"-a", "::"});
    ASSERT_EQ(listing.status, 0) << listing.err;
    EXPECT_NE(listing.out.find(" Volume in drive : is OS-ROM"), std::string::npos) << listing.out;
    EXPECT_NE(listing.out.find("DUMYFILE BIN     77824 2002-12-10  13:49"), std::string::npos)
        << listing.out;
    EXPECT_NE(listing.out.find("        1 file               77 824 bytes"), std::string::npos)
        << listing.out;
    EXPECT_NE(listing.out.find("178 176 bytes free"), std::string::npos) << listing.out;

    const process::Outcome plain = mtools("mdir", {"::"});
    EXPECT_NE(plain.out.find("No files"), std::string::npos) << "the file is hidden\n" << plain.out;
}

TEST_F(FatReaders, ThePlaceholderHoldsClusters2To77OfZeros) {
    require_mtools();
    const process::Outcome chain = mtools("mshowfat", {"::DUMYFILE.BIN"});
    EXPECT_EQ(chain.out, "::/DUMYFILE.BIN <2-77>\n") << chain.err;

    const process::Outcome attributes = mtools("mattrib", {"::DUMYFILE.BIN"});
    EXPECT_EQ(attributes.out, "      H      ::/DUMYFILE.BIN\n") << attributes.err;

    const process::Outcome copy = mtools("mcopy", {"::DUMYFILE.BIN", *work / "copy.bin"});
    ASSERT_EQ(copy.status, 0) << copy.err;
    EXPECT_EQ(support::read_file(*work / "copy.bin"), expected::Bytes(77824, 0x00));
}

TEST_F(FatReaders, MinfoReadsTheVolumeParameters) {
    require_mtools();
    const process::Outcome info = mtools("minfo", {"::"});
    ASSERT_EQ(info.status, 0) << info.err;
    for (const char* line :
         {"banner:\"4 OSROM \"", "sector size: 512 bytes", "cluster size: 2 sectors",
          "reserved (boot) sectors: 1", "fats: 2", "max available root directory slots: 112",
          "small size: 512 sectors", "media descriptor byte: 0xfb", "sectors per fat: 2",
          "disk label=\"NO NAME    \"", "disk type=\"FAT12   \""}) {
        EXPECT_NE(info.out.find(std::string(line) + "\n"), std::string::npos) << line;
    }
}

// The boot sector's label field deliberately says NO NAME while the label
// entry says OS-ROM; fsck.fat would copy one over the other, and that must be
// its only remark.
TEST_F(FatReaders, FsckFindsNothingButTheTwoLabels) {
    if (fsck_fat.empty()) {
        GTEST_SKIP() << "dosfstools is not installed";
    }
    process::Launch launch;
    launch.program = fsck_fat;
    launch.args = {"-n", "-v", volume()};
    launch.env = {"LC_ALL=C"};
    const process::Outcome check = process::run(launch);
    EXPECT_EQ(check.status, 1) << check.out;
    EXPECT_NE(check.out.find("250 data clusters (256000 bytes)"), std::string::npos) << check.out;
    // After the boot sector's summary come the findings.
    const std::size_t findings = check.out.find("       512 sectors total\n");
    ASSERT_NE(findings, std::string::npos) << check.out;
    EXPECT_EQ(check.out.substr(findings),
              "       512 sectors total\n"
              "There is no label in boot sector, but there is volume label 'OS-ROM' "
              "stored in root directory\n"
              "  Auto-copying volume label from root directory to boot sector.\n"
              "Checking for unused clusters.\n"
              "\n"
              "Leaving filesystem unchanged.\n" +
                  volume() + ": 2 files, 76/250 clusters\n");
}

}  // namespace
