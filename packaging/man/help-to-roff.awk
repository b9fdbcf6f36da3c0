# Turns the --help text of one command of a program into a man page subsection: the usage line
# becomes the subsection's title, option lines become tagged paragraphs (options in bold, their
# arguments in italics) and the other lines stay running text.
#
#   awk -f help-to-roff.awk -v program=NAME < HELP-TEXT

# Escapes a line of help text for roff; words that are options keep their minus signs.
function roff(text,    words, count, i, result) {
    gsub(/\\/, "\\e", text)
    count = split(text, words, / +/)
    result = ""
    for (i = 1; i <= count; i++) {
        if (words[i] ~ /^[[('"]*-/) {
            gsub(/-/, "\\-", words[i])
        }
        result = result (result == "" ? "" : " ") words[i]
    }
    if (result ~ /^[.']/) {
        result = "\\&" result
    }
    return result
}

# "-o, --output OUT.syx" -> options in bold, arguments in italics.
function option_tag(text,    words, count, i, word, comma, result) {
    count = split(text, words, / +/)
    result = ""
    for (i = 1; i <= count; i++) {
        word = words[i]
        comma = sub(/,$/, "", word) ? "," : ""
        word = roff(word)
        word = (word ~ /^\\-/) ? "\\fB" word "\\fR" : "\\fI" word "\\fR"
        result = result (result == "" ? "" : " ") word comma
    }
    return result
}

function trim(text) {
    sub(/^ +/, "", text)
    sub(/ +$/, "", text)
    return text
}

NR == 1 && /^Usage: / {
    title = substr($0, length("Usage: ") + 1)
    if (index(title, program " ") == 1) {
        title = substr(title, length(program) + 2)
    }
    print ".SS \"" roff(title) "\""
    next
}

/^ *$/ {
    in_option = 0
    paragraph_due = 1
    next
}

# An option line: the option, then two or more spaces, then what it does.
/^ +-/ {
    line = trim($0)
    gap = match(line, /  +/)
    print ".TP"
    print option_tag(gap ? substr(line, 1, gap - 1) : line)
    if (gap) {
        print roff(trim(substr(line, gap)))
    }
    in_option = 1
    paragraph_due = 0
    next
}

in_option && /^   / {
    print roff(trim($0))
    next
}

{
    if (paragraph_due) {
        print ".PP"
        paragraph_due = 0
    }
    in_option = 0
    print roff(trim($0))
}
