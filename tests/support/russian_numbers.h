#pragma once
// The C library's number conventions of a Russian desktop (a comma for the decimal point), as Qt
// leaves them once it has started, for the life of one object. tools/install-deps.sh generates the
// locale; a test checks `applied` and fails without it.

#include <clocale>
#include <string>

class RussianNumbers {
public:
    RussianNumbers() : previous_(std::setlocale(LC_NUMERIC, nullptr))
    {
        applied = std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") != nullptr;
    }
    ~RussianNumbers() { std::setlocale(LC_NUMERIC, previous_.c_str()); }
    RussianNumbers(const RussianNumbers&) = delete;
    RussianNumbers& operator=(const RussianNumbers&) = delete;

    bool applied = false;

private:
    std::string previous_;
};

#define ASSERT_RUSSIAN_NUMBERS(numbers) \
    ASSERT_TRUE((numbers).applied) << "the locale ru_RU.UTF-8 is missing; tools/install-deps.sh generates it"
