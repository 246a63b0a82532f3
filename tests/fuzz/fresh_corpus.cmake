# cmake -DFROM=<checked-in corpus> -DTO=<work folder> -P fresh_corpus.cmake
# Starts every fuzz test from the checked-in corpus alone: inputs a previous run added would
# make each run longer than the last, and artifacts of an earlier failure would linger.
file(REMOVE_RECURSE ${TO})
file(MAKE_DIRECTORY ${TO}/corpus ${TO}/artifacts)
file(COPY ${FROM}/ DESTINATION ${TO}/corpus)
