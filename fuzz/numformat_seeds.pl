#!/usr/bin/perl
# Writes the seed corpus of the number-format fuzzer: one file per row of the rendering table
# (src/numformat/format_table_test.cpp), laid out as the fuzzer reads its input: the value as a
# native double, a date-system byte, the code in UTF-8, and for text rows a NUL and the text.
#
#   perl fuzz/numformat_seeds.pl TABLE CORPUS_FOLDER
use strict;
use warnings;

my ($table, $corpus) = @ARGV;
die "usage: $0 TABLE CORPUS_FOLDER\n" unless defined $corpus;
open(my $in, '<:raw', $table) or die "$table: $!\n";
my $string = qr/R"~\((.*?)\)~"|"((?:[^"\\]|\\.)*)"/;
my ($count, $system) = (0, 0);
while (my $line = <$in>) {
    $system = 1 if $line =~ /kDate1904\[\]/;
    $system = 0 if $line =~ /^\};/;
    next unless $line =~ /^\s*\{$string,\s*(?:$string|([-+0-9.eE]+))\s*,/;
    my $code = defined $1 ? $1 : unescape($2);
    my ($text, $value) = (defined $3 ? $3 : defined $4 ? unescape($4) : undef, $5);
    my $seed = pack('d', defined $value ? $value : 0) . chr($system) . $code;
    $seed .= "\0" . $text if defined $text;
    my $path = sprintf('%s/table-%04d', $corpus, $count++);
    open(my $out, '>:raw', $path) or die "$path: $!\n";
    print $out $seed;
    close($out);
}
print "$count seeds\n";

sub unescape {
    my ($text) = @_;
    $text =~ s/\\(.)/$1/g;
    return $text;
}
