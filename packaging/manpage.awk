# Turns the program's --help text into the sections of its manual page: the usage lines become
# SYNOPSIS, the paragraphs before the option list DESCRIPTION, the option list OPTIONS, and the
# paragraphs after it NOTES. The template (second file) gets them in place of its @FROM_HELP@
# line; @VERSION@ and @SUMMARY@ are replaced by the variables of the same names.
# Usage: awk -v version=V -v summary=S -f manpage.awk HELP TEMPLATE

function roff(text) {
    gsub(/\\/, "\\e", text)
    gsub(/-/, "\\-", text)
    if (text ~ /^[.']/) text = "\\&" text
    return text
}

# Option words bold, their arguments italic, brackets and bars plain:
# "[--data DIR]" -> [\fB\-\-data\fR \fIDIR\fR].
function option_words(option,    n, words, i, word, left, right, out) {
    n = split(option, words, " ")
    out = ""
    for (i = 1; i <= n; i++) {
        word = words[i]
        left = right = ""
        if (match(word, /^\[+/)) { left = substr(word, 1, RLENGTH); word = substr(word, RLENGTH + 1) }
        if (match(word, /\]+$/)) { right = substr(word, RSTART); word = substr(word, 1, RSTART - 1) }
        if (word == "|") word = "|"
        else if (word ~ /^-/) word = "\\fB" roff(word) "\\fR"
        else word = "\\fI" roff(word) "\\fR"
        out = out (i > 1 ? " " : "") left word right
    }
    return out
}

function section(name) {
    if (name != current) {
        out[++lines] = ".SH " name
        current = name
        paragraph = 0
    }
}

FNR == NR {
    if ($0 ~ /^usage: / || (in_usage && $0 ~ /^ +[^ -]/)) {
        in_usage = 1
        section("SYNOPSIS")
        sub(/^(usage:)? +/, "")
        program = $1
        $1 = ""
        if (synopsis++) out[++lines] = ".br"
        out[++lines] = ".B " roff(program)
        out[++lines] = option_words(substr($0, 2))
        next
    }
    in_usage = 0
    if ($0 ~ /^ *$/) {
        paragraph = 1
        next
    }
    if ($0 ~ /^  -/) {
        section("OPTIONS")
        # The option and its arguments, then two or more blanks and the text (which may also
        # start on the next line).
        option = $0
        sub(/^ +/, "", option)
        text = ""
        if (match(option, /  +/)) {
            text = substr(option, RSTART + RLENGTH)
            option = substr(option, 1, RSTART - 1)
        }
        out[++lines] = ".TP"
        out[++lines] = option_words(option)
        if (text != "") out[++lines] = roff(text)
        options_seen = 1
        next
    }
    if (current == "OPTIONS" && $0 ~ /^   +/ && !paragraph) {
        sub(/^ +/, "")
        out[++lines] = roff($0)
        next
    }
    section(options_seen ? "NOTES" : "DESCRIPTION")
    if (paragraph) out[++lines] = ".PP"
    paragraph = 0
    out[++lines] = roff($0)
    next
}

$0 == "@FROM_HELP@" {
    for (i = 1; i <= lines; i++) print out[i]
    next
}

{
    gsub(/@VERSION@/, version)
    gsub(/@SUMMARY@/, summary)
    print
}
