# Appending to a text and to the question in a loop (as TextBuilding).
proc run {} {
    set t ""
    set question ""
    for {set k 1} {$k <= 2000} {incr k} {
        set t "${t}x"
        append question "$k "
    }
    return [string length $question]
}
