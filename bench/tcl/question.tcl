# A typical question: two draws, a sum, a branch, the texts and the answers
# (as TypicalQuestion).
proc run {} {
    set title "Sums of two numbers"
    set category Addition
    set description "Adds two two-digit numbers."
    set a [expr {int(round(rand() * 89 + 10))}]
    set b [expr {int(round(rand() * 89 + 10))}]
    set c [expr {$a + $b}]
    set d [expr {$c % 10}]
    set question ""
    if {$c >= 100} {
        append question "Carry over a hundred.\r\n"
    } else {
        append question "No carry.\r\n"
    }
    set q "$a + $b"
    append question "$q = ?"
    if {$d == 0} {
        append question "\r\n(ends in 0)"
    }
    set answer "$c"
    append answer "_"
    append answer "$c.0"
    return [list $title $category $description $question $answer]
}
