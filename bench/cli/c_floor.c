/* The floor of chronel-cli's start: what a small C date tool does from start to exit. It takes the user's
   locale as such a tool does, reads two ISO dates from its arguments and prints the days between, through
   stdio and the C library only, built with the same flags as chronel-cli. */
#include <locale.h>
#include <stdio.h>
#include <stdlib.h>

/* Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm). */
static long DaysFromCivil(long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = (unsigned)(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + (long)doe - 719468;
}

static int ReadDate(const char* text, long* days)
{
    int y, m, d, end = 0;
    if (sscanf(text, "%4d-%2d-%2d%n", &y, &m, &d, &end) != 3 || text[end] != '\0' || m < 1 || m > 12 || d < 1 ||
        d > 31) {
        return 0;
    }
    *days = DaysFromCivil(y, (unsigned)m, (unsigned)d);
    return 1;
}

int main(int argc, char** argv)
{
    setlocale(LC_ALL, "");
    long start, final;
    if (argc != 3 || !ReadDate(argv[1], &start) || !ReadDate(argv[2], &final)) {
        fputs("usage: c_floor YYYY-MM-DD YYYY-MM-DD\n", stderr);
        return 2;
    }
    printf("%ld\n", final - start);
    return ferror(stdout) || fclose(stdout) != 0;
}
