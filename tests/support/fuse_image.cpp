#include "tests/support/fuse_image.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool commandsExist(const char* names)
{
    return std::system(("for t in " + std::string(names) + "; do command -v $t >/dev/null || exit 1; done").c_str()) == 0;
}

bool isMounted(const std::string& folder)
{
    struct stat inside {}, outside {};
    return stat(folder.c_str(), &inside) == 0 && stat((folder + "/..").c_str(), &outside) == 0 &&
           inside.st_dev != outside.st_dev;
}

pid_t startInForeground(const std::vector<std::string>& command)
{
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 1);
        dup2(null, 2);
        std::vector<char*> arguments;
        for (const std::string& word : command)
            arguments.push_back(const_cast<char*>(word.c_str()));
        arguments.push_back(nullptr);
        execvp(arguments[0], arguments.data());
        _exit(127);
    }
    return child;
}

}  // namespace

FuseImage::FuseImage(Kind kind, const std::string& folder, std::chrono::seconds patience) : folder_(folder)
{
    const std::string image = folder + ".img";
    const bool fat = kind == Kind::fat;
    const std::string make = fat ? "mkfs.fat -C '" + image + "' 8192"
                                 : "truncate -s 8M '" + image + "' && mkntfs -F -f -q '" + image + "'";
    if (geteuid() != 0) {
        failure_ = "mounting an image needs root";
        return;
    }
    if (access("/dev/fuse", R_OK | W_OK) != 0) {
        failure_ = "no /dev/fuse here";
        return;
    }
    if (!commandsExist(fat ? "mkfs.fat fusefat" : "mkntfs ntfs-3g")) {
        failure_ = fat ? "mkfs.fat or fusefat missing" : "mkntfs or ntfs-3g missing";
        return;
    }
    if (!std::filesystem::create_directory(folder) || std::system((make + " >/dev/null 2>&1").c_str()) != 0) {
        failure_ = "cannot make the image " + image;
        return;
    }
    driver_ = fat ? startInForeground({"fusefat", "-f", "-o", "rw+", image, folder})
                  : startInForeground({"ntfs-3g", "-o", "no_detach", image, folder});
    const auto mountDeadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!isMounted(folder) && std::chrono::steady_clock::now() < mountDeadline) {
        if (driver_ < 0 || waitpid(driver_, nullptr, WNOHANG) != 0) {
            driver_ = -1;
            failure_ = "cannot mount " + image + " through FUSE";
            return;
        }
        usleep(10000);
    }
    if (!isMounted(folder)) {
        failure_ = "the FUSE driver did not mount " + image;
        stopDriver();
        return;
    }
    watchdog_ = std::thread([this, patience] {
        std::unique_lock lock(mutex_);
        if (!ended_.wait_for(lock, patience, [this] { return ending_; })) {
            hung_ = true;
            kill(driver_, SIGKILL);  // every call waiting on it fails at once
        }
    });
}

FuseImage::~FuseImage()
{
    if (watchdog_.joinable()) {
        {
            const std::lock_guard lock(mutex_);
            ending_ = true;
        }
        ended_.notify_all();
        watchdog_.join();
    }
    stopDriver();
}

void FuseImage::stopDriver()
{
    if (driver_ < 0)
        return;
    umount2(folder_.c_str(), MNT_DETACH);
    // The driver is this process's child and not yet waited for, so its number is still its own.
    kill(driver_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (waitpid(driver_, nullptr, WNOHANG) == 0 && std::chrono::steady_clock::now() < deadline)
        usleep(10000);
    if (waitpid(driver_, nullptr, WNOHANG) == 0) {
        kill(driver_, SIGKILL);
        waitpid(driver_, nullptr, 0);
    }
    driver_ = -1;
}
