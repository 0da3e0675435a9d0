// The floor of chronel-cli's start-up: the smallest C++ program, built with the same flags.
#include <iostream>

int main()
{
    std::cout << "hello, world\n";
}
