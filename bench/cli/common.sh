# Shared by the chronel-cli measuring scripts: sourced, not run.

# The median of the numbers on stdin, one per line.
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# COUNT random pairs of wall times over the pages' range, START<TAB>FINAL per line, drawn from SEED.
#   random_pairs COUNT SEED > FILE
random_pairs() {
    awk -v n="$1" -v seed="$2" 'BEGIN {
        srand(seed)
        for (i = 0; i < n; i++)
            for (k = 0; k < 2; k++)
                printf "%04d-%02d-%02dT%02d:%02d:%02d%s", 1754 + int(rand() * 8245), 1 + int(rand() * 12),
                       1 + int(rand() * 28), int(rand() * 24), int(rand() * 60), int(rand() * 60), k ? "\n" : "\t"
    }'
}
